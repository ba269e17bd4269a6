#pragma once

#include <QWidget>

#include "query/page_views.h"

class QPlainTextEdit;

namespace hostlore {

// Web Server: each hop of the header request with every header the server
// sent, the last reply's security headers, the HTTP versions and TLS.
class WebServerPage : public QWidget, public WebServerView {
    Q_OBJECT

  public:
    explicit WebServerPage(QWidget* parent = nullptr);

    void Clear() override;
    void Show(const WebServerReport& report, const QString& text) override;

  private:
    QPlainTextEdit* WebServerText;
};

}  // namespace hostlore
