#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

#include "query/page_views.h"

class QLabel;
class QPlainTextEdit;

namespace hostlore {

class Clock;
class StoppableRun;

// Whois Info: the whois server's reply for the queried domain, with a stop
// button, the status of the query and the record's expiry when one is found.
class WhoisInfoPage : public QWidget, public WhoisView {
    Q_OBJECT

  public:
    // `stop` is what the stop button does.
    WhoisInfoPage(const Clock& clock, std::function<void()> stop, QWidget* parent = nullptr);

    RunStatusView& Status();

    void ClearReply() override;
    void RecordReply(const WhoisAnswer& answer) override;
    void AppendReplyLines(std::span<const std::string> lines) override;

    // Most characters laid out in one turn of the event loop; the rest of a
    // long reply follows in later turns, so that the window keeps answering.
    static constexpr qsizetype kCharactersPerTurn = qsizetype{64} * 1024;

  private:
    void ShowPending();

    const Clock& clock_;
    StoppableRun* run_;
    QLabel* expiry_;
    QPlainTextEdit* Memo3;
    WhoisFields record_;
    QStringList pending_;  // memo lines not shown yet, oldest first
    bool showScheduled_ = false;
};

}  // namespace hostlore
