#include "query/whois_thread.h"

#include <QComboBox>
#include <QPlainTextEdit>

#include "app/main_window.h"
#include "platform/network_text.h"
#include "platform/text_trim.h"
#include "query/url_parts.h"
#include "query/whois_reply.h"

namespace hostlore {

whois_thread::whois_thread(Tmain& window, const TNetWhois& settings)
    : TThread(window.Handoff()), window_(window), client_(std::make_shared<TNetWhois>(nullptr)) {
    client_->CopySettingsFrom(settings);
}

void whois_thread::Execute() {
    Synchronize([&] { window_.Memo3->clear(); });
    std::string url;
    Synchronize([&] { url = window_.url_edit->currentText().toStdString(); });
    const std::string domain(TrimControls(DomainPart(HostPart(url))));
    if (domain.empty()) {
        return;
    }
    const std::string reply = client_->QueryDomain(domain);
    for (const std::string& line : WhoisReplyLines(reply)) {
        Synchronize([&] {
            // The memo would turn a carriage return into a line break of its own.
            QString shown = TextFromNetwork(line);
            if (shown.endsWith('\r')) {
                shown.chop(1);
            }
            window_.Memo3->appendPlainText(shown);
        });
    }
}

}  // namespace hostlore
