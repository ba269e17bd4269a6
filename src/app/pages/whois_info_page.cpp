#include "app/pages/whois_info_page.h"

#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "app/pages/page_widgets.h"
#include "app/pages/stoppable_run.h"
#include "query/report/display_lines.h"
#include "query/report/shown_text.h"

namespace hostlore {

WhoisInfoPage::WhoisInfoPage(std::function<void()> stop, QWidget* parent)
    : QWidget(parent),
      run_(new StoppableRun("whois_stop", QStringLiteral("Stop Whois Query"), "Label5",
                            std::move(stop))),
      Memo3(TextArea("Memo3", QStringLiteral("Whois Info"))) {
    auto* column = new QVBoxLayout(this);
    column->addWidget(run_);
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
}

void WhoisInfoPage::RecordReply(const std::string& /*server*/, const std::string& /*reply*/) {
    // The page shows the reply's lines as they follow; the report keeps it whole.
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
