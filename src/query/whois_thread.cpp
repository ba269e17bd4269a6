#include "query/whois_thread.h"

#include "platform/text_trim.h"
#include "query/url_parts.h"
#include "query/whois_reply.h"

namespace hostlore {

namespace {

constexpr std::size_t kLinesPerBatch = 500;
constexpr std::size_t kBytesPerBatch = std::size_t{32} * 1024;

}  // namespace

whois_thread::whois_thread(std::shared_ptr<UiHandoff> handoff, std::string url, WhoisView& page,
                           const ConnectionSettings& connection, std::shared_ptr<Resolver> resolver)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      page_(page),
      client_(std::make_shared<TNetWhois>(std::move(resolver))) {
    client_->Host = connection.whoisServer.host;
    client_->Port = connection.whoisServer.port;
    client_->SocksInfo = connection.socks;
}

void whois_thread::Execute() {
    Synchronize([&] { page_.ClearReply(); });
    const std::string domain(TrimControls(DomainPart(HostPart(url_))));
    if (domain.empty()) {
        return;
    }
    const std::string reply = client_->QueryDomain(domain);
    Synchronize([&] { page_.RecordReply(client_->Host, reply); });
    const std::vector<std::string> lines = WhoisReplyLines(reply);
    // One hand-off per line would keep a big reply crossing for seconds.
    std::size_t first = 0;
    while (first < lines.size()) {
        std::size_t end = first;
        std::size_t bytes = 0;
        while (end < lines.size() && end - first < kLinesPerBatch && bytes < kBytesPerBatch) {
            bytes += lines[end++].size();
        }
        Synchronize([&] { page_.AppendReplyLines(std::span(lines).subspan(first, end - first)); });
        first = end;
    }
}

}  // namespace hostlore
