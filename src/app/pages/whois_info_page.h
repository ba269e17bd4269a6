#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

#include "query/page_views.h"

class QPlainTextEdit;

namespace hostlore {

class StoppableRun;

// Whois Info: the whois server's reply for the queried domain, with a stop
// button and the status of the query.
class WhoisInfoPage : public QWidget, public WhoisView {
    Q_OBJECT

  public:
    // `stop` is what the stop button does.
    explicit WhoisInfoPage(std::function<void()> stop, QWidget* parent = nullptr);

    RunStatusView& Status();

    void ClearReply() override;
    void RecordReply(const std::string& server, const std::string& reply) override;
    void AppendReplyLines(std::span<const std::string> lines) override;

    // Most characters laid out in one turn of the event loop; the rest of a
    // long reply follows in later turns, so that the window keeps answering.
    static constexpr qsizetype kCharactersPerTurn = qsizetype{64} * 1024;

  private:
    void ShowPending();

    StoppableRun* run_;
    QPlainTextEdit* Memo3;
    QStringList pending_;  // memo lines not shown yet, oldest first
    bool showScheduled_ = false;
};

}  // namespace hostlore
