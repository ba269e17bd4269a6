// Run through tests/dns/with_test_dns.sh (root): the test world's whois
// servers on port 43 of the test namespace. Two figures, same run:
// - a three-server chain (IANA, the thin registry, the registrar) for
//   www.example.thin as Hostlore runs it, against Debian's whois command asked
//   the same three questions with -h; the median wall time of each;
// - the connections IANA's server takes for two queries of one suffix.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_measures.h"
#include "query/whois/chain_connections.h"
#include "query/whois/whois_chain.h"
#include "support/temporary_folder.h"
#include "support/whois_test_world.h"

namespace {

using namespace hostlore;
using Stopwatch = std::chrono::steady_clock;

constexpr int kRuns = 50;

struct Chain {
    test::TemporaryFolder folder;
    std::shared_ptr<const PublicSuffixList> suffixes = PublicSuffixList::Packaged();
    std::shared_ptr<Resolver> resolver = std::make_shared<SystemResolver>();
    SystemClock clock;

    // The lines the page would show.
    std::size_t Run(WhoisSession& session, const std::string& host) {
        // Turns of its own: no chain asks one server twice, so none waits.
        ChainConnections connections(ConnectionSettings(), resolver,
                                     std::make_shared<ServerTurns>());
        WhoisChainSettings settings;
        settings.server.host = "whois.iana.org";
        settings.bootstrapUrl = "http://data.test/dns.json";
        WhoisChain chain(settings, connections, connections, session, *suffixes, clock,
                         [] { return false; });
        std::size_t lines = 0;
        chain.Run(host,
                  {.received = [](const ChainAnswer&) {},
                   .shown = [&](const ChainAnswer& answer) { lines += answer.lines.size(); }});
        return lines;
    }
};

// Debian's whois command, its output thrown away; false when it failed.
bool RunWhois(const std::string& server, const std::string& query) {
    return bench::RunQuietly({"whois", "-h", server, query});
}

double MedianMs(std::vector<Stopwatch::duration> times) {
    std::sort(times.begin(), times.end());
    return std::chrono::duration<double, std::milli>(times[times.size() / 2]).count();
}

}  // namespace

int main() {
    test::WhoisTestWorld world;
    Chain chain;
    std::vector<Stopwatch::duration> hostlore;
    std::vector<Stopwatch::duration> debian;
    for (int run = 0; run < kRuns; ++run) {
        WhoisSession session{RdapBootstrapCache(chain.folder.Path())};
        auto start = Stopwatch::now();
        if (chain.Run(session, "www.example.thin") == 0) {
            std::fprintf(stderr, "the chain showed nothing\n");
            return 1;
        }
        hostlore.push_back(Stopwatch::now() - start);

        start = Stopwatch::now();
        if (!RunWhois("whois.iana.org", "thin") || !RunWhois("whois.thin.test", "example.thin") ||
            !RunWhois("whois.registrar.test", "example.thin")) {
            std::fprintf(stderr, "whois failed\n");
            return 1;
        }
        debian.push_back(Stopwatch::now() - start);
    }
    std::printf("three-server chain, median of %d: Hostlore %.2f ms, whois -h x3 %.2f ms\n", kRuns,
                MedianMs(hostlore), MedianMs(debian));

    WhoisSession session{RdapBootstrapCache(chain.folder.Path())};
    const int before = world.IanaConnections();
    chain.Run(session, "www.example.thin");
    const int afterFirst = world.IanaConnections();
    chain.Run(session, "shop.example.thin");
    std::printf("connections at IANA's server: first query %d, second query of the suffix %d\n",
                afterFirst - before, world.IanaConnections() - afterFirst);
    return 0;
}
