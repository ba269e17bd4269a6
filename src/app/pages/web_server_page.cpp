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
    // Each hop shows the whole text again; the reader keeps the place.
    const int down = WebServerText->verticalScrollBar()->value();
    WebServerText->setPlainText(text);
    WebServerText->verticalScrollBar()->setValue(down);
}

}  // namespace hostlore
