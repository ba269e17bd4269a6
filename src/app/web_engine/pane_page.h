#pragma once

#include <QWebEnginePage>

namespace hostlore {

// A web page that keeps its content to itself: whatever a page asks of the
// machine or the user is refused, and a web page the user opens in a new
// window becomes a navigation of the same pane.
class PanePage : public QWebEnginePage {
    Q_OBJECT

  public:
    PanePage(QWebEngineProfile* profile, QObject* parent);

  protected:
    // A page of an outside service may not interrupt the user with dialogs.
    void javaScriptAlert(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& message,
                          const QString& defaultValue, QString* result) override;
};

}  // namespace hostlore
