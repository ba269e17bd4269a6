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
    // Left unadopted, the new window is dropped; its address opens here instead,
    // so the pane's own history keeps the page that asked for it.
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                if (request.requestedUrl().isValid()) {
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
