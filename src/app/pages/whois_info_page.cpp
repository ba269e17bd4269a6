#include "app/pages/whois_info_page.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/pages/page_widgets.h"
#include "app/pages/stoppable_run.h"
#include "query/shown_text.h"

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
}

void WhoisInfoPage::RecordReply(const std::string& /*server*/, const std::string& /*reply*/) {
    // The page shows the reply's lines as they follow; the report keeps it whole.
}

void WhoisInfoPage::AppendReplyLines(std::span<const std::string> lines) {
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) {
        shown << ShownWhoisLine(line);
    }
    // A reply opens at its first line and left edge, unless the reader has moved.
    QScrollBar* down = Memo3->verticalScrollBar();
    QScrollBar* across = Memo3->horizontalScrollBar();
    const bool atStart = down->value() == 0 && across->value() == 0;
    Memo3->appendPlainText(shown.join('\n'));
    if (atStart) {
        down->setValue(0);
        across->setValue(0);
    }
}

}  // namespace hostlore
