#include "app/pages/dns_records_page.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/pages/page_widgets.h"
#include "platform/network_text.h"
#include "query/dns_records/dns_record_text.h"

namespace hostlore {

namespace {

void AddRow(QTableWidget& table, const std::array<std::string, 4>& cells) {
    const int row = table.rowCount();
    table.insertRow(row);
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
        const QString text = TextFromNetwork(cells[static_cast<std::size_t>(column)]);
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setToolTip(text);
        table.setItem(row, column, item);
    }
}

}  // namespace

DnsRecordsPage::DnsRecordsPage(QWidget* parent) : QWidget(parent), Records(new QTableWidget) {
    Records->setObjectName(QStringLiteral("Records"));
    Records->setAccessibleName(QStringLiteral("DNS Records"));
    Records->setColumnCount(4);
    Records->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type"),
                                        QStringLiteral("TTL"), QStringLiteral("Value")});
    Records->verticalHeader()->hide();
    Records->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Records->setSelectionBehavior(QAbstractItemView::SelectRows);
    Records->setTabKeyNavigation(false);
    Records->setWordWrap(true);
    Records->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Records->horizontalHeader()->setStretchLastSection(true);
    Records->setFont(ArialFont());
    Records->setFrameShape(QFrame::NoFrame);
    UseTealText(Records);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Records);
}

void DnsRecordsPage::ShowTable(const DnsRecordsTable& table) {
    Records->setRowCount(0);
    for (const DnsRecordRow& row : table.records) {
        AddRow(*Records, DnsRowCells(row));
    }
    for (const DnssecLine& line : table.dnssec) {
        AddRow(*Records, DnssecCells(line));
    }
    // Long texts wrap in the value column and keep their row tall enough.
    Records->resizeRowsToContents();
}

}  // namespace hostlore
