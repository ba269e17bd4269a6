#include "app/pages/whois_info_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "app/pages/page_widgets.h"
#include "app/pages/stoppable_run.h"
#include "platform/clock.h"
#include "query/report/display_lines.h"
#include "query/report/shown_text.h"

namespace hostlore {

WhoisInfoPage::WhoisInfoPage(const Clock& clock, std::function<void()> stop, QWidget* parent)
    : QWidget(parent),
      clock_(clock),
      run_(new StoppableRun("whois_stop", QStringLiteral("Stop Whois Query"), "Label5",
                            std::move(stop))),
      expiry_(PlainLabel("record_expiry", QStringLiteral("Record expiry"))),
      Memo3(TextArea("Memo3", QStringLiteral("Whois Info"))) {
    auto* column = new QVBoxLayout(this);
    auto* status = new QHBoxLayout;
    status->addWidget(run_, 1);
    status->addWidget(expiry_);
    column->addLayout(status);
    Memo3->setFont(ArialFont());
    Memo3->setFrameShape(QFrame::NoFrame);
    UseTealText(Memo3);
    column->addWidget(Memo3, 1);
}

RunStatusView& WhoisInfoPage::Status() {
    return *run_;
}

void WhoisInfoPage::ClearReply() {
    Memo3->clear();
    pending_.clear();
    record_ = {};
    expiry_->clear();
}

void WhoisInfoPage::RecordReply(const WhoisAnswer& answer) {
    // The reply's lines follow; of its values the status area shows the expiry.
    AddMissingFields(record_, answer.fields);
    if (record_.expires) {
        expiry_->setText(
            QString::fromStdString(RecordExpiryText(*record_.expires, SecondsNow(clock_))));
    }
}

void WhoisInfoPage::AppendReplyLines(std::span<const std::string> lines) {
    for (const std::string& line : lines) {
        pending_ << DisplayLines(ShownWhoisLine(line));
    }
    ShowPending();
}

void WhoisInfoPage::ShowPending() {
    QStringList shown;
    qsizetype characters = 0;
    while (!pending_.isEmpty() && characters < kCharactersPerTurn) {
        characters += pending_.front().size();
        shown << pending_.takeFirst();
    }
    AppendLines(*Memo3, shown.join('\n'));
    if (!pending_.isEmpty() && !showScheduled_) {
        showScheduled_ = true;
        QTimer::singleShot(0, this, [this] {
            showScheduled_ = false;
            if (!pending_.isEmpty()) {
                ShowPending();
            }
        });
    }
}

}  // namespace hostlore
