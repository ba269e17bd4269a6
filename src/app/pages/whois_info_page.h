#pragma once

#include <QWidget>
#include <memory>

#include "query/page_views.h"

class QPlainTextEdit;

namespace hostlore {

class StoppableRun;
class TNetTCPConnection;
class TThread;

// Whois Info: the whois server's reply for the queried domain, with a stop
// button and the status of the query.
class WhoisInfoPage : public QWidget, public WhoisView {
    Q_OBJECT

  public:
    explicit WhoisInfoPage(QWidget* parent = nullptr);

    void StartRun(const std::shared_ptr<TThread>& worker,
                  std::weak_ptr<TNetTCPConnection> connection);
    bool Running() const;
    void StopRun();

    void ClearReply() override;
    void AppendReplyLines(std::span<const std::string> lines) override;

  private:
    StoppableRun* run_;
    QPlainTextEdit* Memo3;
};

}  // namespace hostlore
