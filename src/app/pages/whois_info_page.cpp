#include "app/pages/whois_info_page.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/pages/page_widgets.h"
#include "app/pages/stoppable_run.h"
#include "platform/network_text.h"

namespace hostlore {

WhoisInfoPage::WhoisInfoPage(QWidget* parent)
    : QWidget(parent),
      run_(new StoppableRun("whois_stop", QStringLiteral("Stop Whois Query"), "Label5")),
      Memo3(TextArea("Memo3", QStringLiteral("Whois Info"))) {
    auto* column = new QVBoxLayout(this);
    column->addWidget(run_);
    Memo3->setFont(ArialFont());
    Memo3->setFrameShape(QFrame::NoFrame);
    UseTealText(Memo3);
    column->addWidget(Memo3, 1);
}

void WhoisInfoPage::StartRun(const std::shared_ptr<TThread>& worker,
                             std::weak_ptr<TNetTCPConnection> connection) {
    run_->Start(worker, std::move(connection));
}

bool WhoisInfoPage::Running() const {
    return run_->Running();
}

void WhoisInfoPage::StopRun() {
    run_->Stop();
}

void WhoisInfoPage::ClearReply() {
    Memo3->clear();
}

void WhoisInfoPage::AppendReplyLine(const std::string& line) {
    // The memo would turn a carriage return into a line break of its own.
    QString shown = TextFromNetwork(line);
    if (shown.endsWith('\r')) {
        shown.chop(1);
    }
    Memo3->appendPlainText(shown);
}

}  // namespace hostlore
