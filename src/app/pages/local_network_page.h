#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "query/page_views.h"

class QPlainTextEdit;

namespace hostlore {

// Local Network Info: the machine's network parameters and its adapters.
class LocalNetworkPage : public QWidget, public LocalNetworkView {
    Q_OBJECT

  public:
    explicit LocalNetworkPage(QWidget* parent = nullptr);

    void ShowParameters(const std::vector<std::string>& lines) override;
    void ShowAdapters(const std::vector<std::string>& lines) override;

  private:
    QPlainTextEdit* Memo4;
    QPlainTextEdit* Memo2;
};

}  // namespace hostlore
