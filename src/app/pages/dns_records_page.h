#pragma once

#include <QWidget>

#include "query/page_views.h"

class QTableWidget;

namespace hostlore {

// DNS Records: the host's and its domain's records, one row each, and how
// each name stands with DNSSEC.
class DnsRecordsPage : public QWidget, public DnsRecordsView {
    Q_OBJECT

  public:
    explicit DnsRecordsPage(QWidget* parent = nullptr);

    void ShowTable(const DnsRecordsTable& table) override;

  private:
    QTableWidget* Records;
};

}  // namespace hostlore
