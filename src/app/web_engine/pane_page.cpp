#include "app/web_engine/pane_page.h"

#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>

namespace hostlore {

PanePage::PanePage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    // Left unadopted, the new window is dropped. One the user asked for by a
    // click opens here instead, so the pane's own history keeps the page that
    // asked for it; any other (a frame's advertisement, a script's address)
    // would move the pane without the user.
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                const QString scheme = request.requestedUrl().scheme();
                if (request.isUserInitiated() &&
                    (scheme == QLatin1String("http") || scheme == QLatin1String("https"))) {
                    load(request.requestedUrl());
                }
            });
}

void PanePage::javaScriptAlert(const QUrl& /*securityOrigin*/, const QString& /*message*/) {}

bool PanePage::javaScriptConfirm(const QUrl& /*securityOrigin*/, const QString& /*message*/) {
    return false;
}

bool PanePage::javaScriptPrompt(const QUrl& /*securityOrigin*/, const QString& /*message*/,
                                const QString& /*defaultValue*/, QString* /*result*/) {
    return false;
}

}  // namespace hostlore
