#include "app/pages/local_network_page.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>

#include "app/font_scale.h"
#include "app/pages/page_widgets.h"
#include "query/report/shown_text.h"

namespace hostlore {

namespace {

// The report's lines in a text area, each entry of an address list on its line.
QString ReportText(const std::vector<std::string>& lines) {
    QStringList shown;
    for (const auto& line : lines) {
        shown << ShownLocalReportLine(line);
    }
    return shown.join('\n');
}

}  // namespace

LocalNetworkPage::LocalNetworkPage(QWidget* parent)
    : QWidget(parent),
      Memo4(TextArea("Memo4", QStringLiteral("Local Network Parameters"))),
      Memo2(TextArea("Memo2", QStringLiteral("Local Adapter Information"))) {
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    Memo4->setFixedWidth(qRound(161 * GrowthScale()));
    grid->addWidget(Caption(Memo4->accessibleName(), Memo4), 0, 0);
    grid->addWidget(Caption(Memo2->accessibleName(), Memo2), 0, 1);
    grid->addWidget(Memo4, 1, 0);
    grid->addWidget(Memo2, 1, 1);
    grid->setColumnStretch(1, 1);
}

void LocalNetworkPage::ShowParameters(const std::vector<std::string>& lines) {
    Memo4->setPlainText(ReportText(lines));
}

void LocalNetworkPage::ShowAdapters(const std::vector<std::string>& lines) {
    Memo2->setPlainText(ReportText(lines));
}

}  // namespace hostlore
