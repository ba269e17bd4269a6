#pragma once

#include <QWidget>

#include "query/page_views.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace hostlore {

class MessageBoxes;

// General Info: the banner, the host's addresses, where its block is, its
// name, what its web server says of itself, the address that answered and
// the server's certificate.
class GeneralInfoPage : public QWidget, public GeneralInfoView {
    Q_OBJECT

  public:
    explicit GeneralInfoPage(MessageBoxes& boxes, QWidget* parent = nullptr);

    void Clear() override;
    void AddAddressLine(const std::string& address) override;
    void SetLocation(const std::string& region) override;
    void SetHostName(const std::string& name) override;
    void ShowWebsiteMissing() override;
    void SetServerType(const std::string& server) override;
    void SetLastModified(const std::string& date) override;
    void ShowLastModifiedNotGiven() override;
    void SetServerDate(const std::string& date) override;
    void ShowServerFailed(const std::string& reason) override;
    void SetFinalAddress(const std::string& url) override;
    void SetCertificate(const std::string& summary) override;
    void ShowCertificateFailed(const std::string& reason) override;
    void ShowCertificateUnavailable(const std::string& reason) override;
    void RecordServerChain(const ServerChainReport&) override {}

  private:
    MessageBoxes& boxes_;
    QLabel* Banner;
    QLineEdit* Edit1;
    QPlainTextEdit* Memo1;
    QLineEdit* Edit4;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit5;
    QPlainTextEdit* FinalAddress;
    QPlainTextEdit* Certificate;
};

}  // namespace hostlore
