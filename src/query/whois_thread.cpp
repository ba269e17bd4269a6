#include "query/whois_thread.h"

#include "platform/text_trim.h"
#include "query/url_parts.h"
#include "query/whois_reply.h"

namespace hostlore {

whois_thread::whois_thread(std::shared_ptr<UiHandoff> handoff, std::string url, WhoisView& page,
                           const TNetWhois& settings)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      page_(page),
      client_(std::make_shared<TNetWhois>(nullptr)) {
    client_->CopySettingsFrom(settings);
}

void whois_thread::Execute() {
    Synchronize([&] { page_.ClearReply(); });
    const std::string domain(TrimControls(DomainPart(HostPart(url_))));
    if (domain.empty()) {
        return;
    }
    const std::string reply = client_->QueryDomain(domain);
    for (const std::string& line : WhoisReplyLines(reply)) {
        Synchronize([&] { page_.AppendReplyLine(line); });
    }
}

}  // namespace hostlore
