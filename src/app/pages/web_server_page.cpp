#include "app/pages/web_server_page.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/pages/page_widgets.h"

namespace hostlore {

WebServerPage::WebServerPage(QWidget* parent)
    : QWidget(parent), WebServerText(TextArea("WebServerText", QStringLiteral("Web Server"))) {
    auto* column = new QVBoxLayout(this);
    WebServerText->setFont(ArialFont());
    WebServerText->setFrameShape(QFrame::NoFrame);
    UseTealText(WebServerText);
    column->addWidget(WebServerText, 1);
}

void WebServerPage::Clear() {
    WebServerText->clear();
}

void WebServerPage::Show(const WebServerReport& /*report*/, const QString& text) {
    // Each hop brings the whole text again; a reader who scrolled keeps the place.
    QScrollBar* down = WebServerText->verticalScrollBar();
    QScrollBar* across = WebServerText->horizontalScrollBar();
    const int downAt = down->value();
    const int acrossAt = across->value();
    WebServerText->setPlainText(text);
    down->setValue(downAt);
    across->setValue(acrossAt);
}

}  // namespace hostlore
