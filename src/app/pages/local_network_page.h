#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace hostlore {

// Local Network Info: the machine's network parameters and its adapters.
class LocalNetworkPage : public QWidget {
    Q_OBJECT

  public:
    explicit LocalNetworkPage(QWidget* parent = nullptr);

    void ShowParameters(const std::vector<std::string>& lines);
    void ShowAdapters(const std::vector<std::string>& lines);

  private:
    QPlainTextEdit* Memo4;
    QPlainTextEdit* Memo2;
};

}  // namespace hostlore
