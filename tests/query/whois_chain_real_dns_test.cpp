#include <gtest/gtest.h>

#include <future>

#include "dns/test_dns.h"
#include "query/chain_connections.h"
#include "query/whois_chain.h"
#include "support/temporary_folder.h"
#include "support/whois_test_world.h"

namespace hostlore {
namespace {

using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

// Whois chains over real sockets against the test world's servers, found
// through the test DNS server.
class WhoisChainRealDnsTest : public test::TestDns {
  protected:
    void SetUp() override {
        test::TestDns::SetUp();
        if (!IsSkipped()) {
            world = std::make_unique<test::WhoisTestWorld>();
        }
    }

    // The page's lines, each answer after a separator line.
    Lines Page(const std::string& host) {
        WhoisChain chain({{"whois.iana.org"}, "http://data.test/dns.json"}, connections,
                         connections, session, *suffixes, clock,
                         [&] { return connections.Stopped(); });
        Lines page;
        chain.Run(host, {.received = [](const ChainAnswer&) {},
                         .shown =
                             [&](const ChainAnswer& answer) {
                                 page.insert(page.end(), answer.lines.begin(), answer.lines.end());
                             }});
        return page;
    }

    test::TemporaryFolder folder;
    std::unique_ptr<test::WhoisTestWorld> world;
    std::shared_ptr<const PublicSuffixList> suffixes = PublicSuffixList::Packaged();
    ChainConnections connections{ConnectionSettings(), std::make_shared<SystemResolver>()};
    WhoisSession session{RdapBootstrapCache(folder.Path())};
    SystemClock clock;
};

TEST_F(WhoisChainRealDnsTest, FindsTheRegistryAndTheRegistrarAskingIanaOncePerSuffix) {
    const Lines thin = {"Domain Name: example.thin\r",
                        "Registrar WHOIS Server: whois.registrar.test\r",
                        "Updated Date: 2024-01-01T00:00:00Z\r",
                        "--- whois.registrar.test ---",
                        "Domain Name: example.thin\r",
                        "Registrar: Test Registrar\r",
                        "Registrar WHOIS Server: whois.registrar.test\r",
                        "Registrant Organization: Test Shop\r",
                        "Creation Date: 2001-02-03T04:05:06Z\r"};
    EXPECT_EQ(Page("www.example.thin"), thin);
    EXPECT_EQ(Page("shop.example.thin"), thin);
    EXPECT_EQ(world->IanaConnections(), 1) << "the second query asks no IANA";
}

TEST_F(WhoisChainRealDnsTest, StopEndsAChainWaitingForAServerThatNeverAnswers) {
    auto chain = std::async(std::launch::async, [&] { return Page("example.silent"); });
    while (world->Connections("whois.silent.test") == 0) {
        ASSERT_EQ(chain.wait_for(10ms), std::future_status::timeout) << "the chain ended early";
    }
    const auto stop = std::chrono::steady_clock::now();
    connections.Stop();
    ASSERT_EQ(chain.wait_for(5s), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - stop, 1s);
    EXPECT_THROW(chain.get(), WhoisChainStopped);
}

}  // namespace
}  // namespace hostlore
