#include "query/whois/whois_thread.h"

#include "query/host_names.h"
#include "query/url_parts.h"

namespace hostlore {

namespace {

constexpr std::size_t kLinesPerBatch = 500;
constexpr std::size_t kBytesPerBatch = std::size_t{32} * 1024;

}  // namespace

whois_thread::whois_thread(std::shared_ptr<UiHandoff> handoff, std::string url, WhoisView& page,
                           const ConnectionSettings& connection, std::shared_ptr<Resolver> resolver,
                           WhoisServices services)
    : TThread(std::move(handoff)),
      url_(std::move(url)),
      page_(page),
      settings_{connection.whoisServer, connection.rdapBootstrapUrl},
      services_(std::move(services)),
      connections_(connection, std::move(resolver), services_.turns) {}

void whois_thread::Execute() {
    Synchronize([&] { page_.ClearReply(); });
    WhoisChain chain(settings_, connections_, connections_, *services_.session, *services_.suffixes,
                     *services_.clock, [this] { return connections_.Stopped() || Terminated(); });
    try {
        // A name that is no valid international name has nothing to ask.
        chain.Run(NetworkHostName(HostPart(url_)).value_or(std::string()),
                  {.received =
                       [&](const ChainAnswer& answer) {
                           Synchronize([&] {
                               page_.RecordReply({answer.source, answer.reply, answer.fields});
                           });
                       },
                   .shown = [&](const ChainAnswer& answer) { ShowLines(answer.lines); }});
    } catch (const WhoisChainStopped&) {
        return;
    }
    // Nothing found is a failure the status names; a record found with a
    // later server failing is not.
    if (!chain.FoundRecord() && !chain.Failure().empty()) {
        throw std::runtime_error(chain.Failure());
    }
}

void whois_thread::ShowLines(const std::vector<std::string>& lines) {
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
