#include "app/web_engine/pane_profile.h"

#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace hostlore {

namespace {

const QString kStorageName = QStringLiteral("hostlore-panes");

QString UserFolder(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location) + QStringLiteral("/hostlore/web-panes");
}

}  // namespace

std::unique_ptr<QWebEngineProfile> MakePaneProfile() {
    auto profile = std::make_unique<QWebEngineProfile>(kStorageName);
    profile->setPersistentStoragePath(UserFolder(QStandardPaths::GenericDataLocation));
    profile->setCachePath(UserFolder(QStandardPaths::GenericCacheLocation));
    QObject::connect(profile.get(), &QWebEngineProfile::downloadRequested, profile.get(),
                     [](QWebEngineDownloadRequest* download) { download->cancel(); });

    QWebEngineSettings* settings = profile->settings();
    settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    return profile;
}

}  // namespace hostlore
