#include "app/pages/service_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/pages/page_widgets.h"

namespace hostlore {

namespace {

struct PaneButton {
    QString hint;
    DrawnIcon picture;
    void (WebPane::*operation)();
};

const std::array<PaneButton, 4> kPaneButtons = {{
    {QStringLiteral("Back"), DrawnIcon::Back, &WebPane::Back},
    {QStringLiteral("Forward"), DrawnIcon::Forward, &WebPane::Forward},
    {QStringLiteral("Stop"), DrawnIcon::Halt, &WebPane::Stop},
    {QStringLiteral("Refresh"), DrawnIcon::Reload, &WebPane::Reload},
}};

}  // namespace

ServicePage::ServicePage(const QString& pageName, const ServicePageNames& names, WebPane* pane,
                         QWidget* parent)
    : QWidget(parent), caption_(PlainLabel(names.caption, pageName)), pane_(pane) {
    auto* column = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    for (std::size_t i = 0; i < kPaneButtons.size(); ++i) {
        const PaneButton& kind = kPaneButtons[i];
        QToolButton* button = ToolButton(names.buttons[i], kind.hint, kind.picture);
        connect(button, &QToolButton::clicked, this, [this, &kind] { OnPane(kind.operation); });
        bar->addWidget(button);
    }
    bar->addWidget(caption_, 1);
    column->addLayout(bar);
    pane_->setObjectName(QString::fromLatin1(names.pane));
    pane_->setAccessibleName(pageName);
    column->addWidget(pane_, 1);
}

void ServicePage::SetCaption(const QString& text) {
    SetAnnouncedText(caption_, text);
}

void ServicePage::Navigate(const std::string& url) {
    pane_->Navigate(QString::fromStdString(url));
}

void ServicePage::OnPane(void (WebPane::*operation)()) {
    try {
        (pane_->*operation)();
    } catch (...) {
        // Nothing to go back or forward to is no news to the user.
    }
}

}  // namespace hostlore
