#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/drawn_icons.h"
#include "app/first_paint.h"
#include "app/font_scale.h"
#include "app/main_window.h"
#include "app/page_control.h"
#include "app/pages/neighbourhood_page.h"
#include "app/pages/page_widgets.h"
#include "app/pages/whois_info_page.h"
#include "app/program_pictures.h"
#include "app/url_box.h"
#include "app/window_pages.h"

namespace hostlore {

void Tmain::BuildWindow() {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(DisplayName());
    // Finding and decoding the icon costs the first window a tenth of its
    // time; every window of the program takes it from the application.
    AfterFirstPaint(this, [] { QApplication::setWindowIcon(ProgramIcon()); });
    // A larger desktop font needs a larger window; a smaller one keeps this size.
    resize((QSizeF(583, 430) * GrowthScale()).toSize());

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(BuildTopPanel());
    cxPageControl1 = new PageControl;
    cxPageControl1->setObjectName(QStringLiteral("cxPageControl1"));
    PageHandlers handlers;
    handlers.stopWhois = Guarded([this] { whois_stopClick(pages_->Whois()); });
    handlers.stopScan = Guarded([this] { ip_nei_stopClick(pages_->Neighbourhood()); });
    handlers.queryHost = [this](const QString& name) {
        Guarded([this, name] {
            url_edit->setEditText(name);
            goClick(pages_->Neighbourhood());
        })();
    };
    pages_ = std::make_unique<WindowPages>(*cxPageControl1, services_, std::move(handlers));
    column->addWidget(cxPageControl1, 1);
    setCentralWidget(central);
}

QWidget* Tmain::BuildTopPanel() {
    auto* panel = new QWidget;
    panel->setFixedHeight(qRound(57 * GrowthScale()));
    auto* row = new QHBoxLayout(panel);

    url_edit = MakeUrlBox();
    go = ToolButton("go", QStringLiteral("Get Hostlore"), DrawnIcon::Go);
    SpeedButton2 = ToolButton("SpeedButton2",
                              QStringLiteral("Get The URL Currently Open In The Internet Explorer"),
                              DrawnIcon::BrowserUrl);

    row->addWidget(Caption(QStringLiteral("URL"), url_edit));
    row->addWidget(url_edit, 1);
    row->addWidget(go);
    row->addWidget(SpeedButton2);
    return panel;
}

}  // namespace hostlore
