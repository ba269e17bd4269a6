#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "dns/test_dns.h"
#include "query/whois_chain.h"
#include "query/whois_sockets.h"
#include "support/temporary_folder.h"
#include "support/whois_test_world.h"

namespace hostlore {
namespace {

using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

// RDAP is not asked in these chains.
class NoWeb : public RdapFetcher {
  public:
    std::string Get(const std::string& url, std::string_view /*accept*/) override {
        throw std::runtime_error("no web in this test: " + url);
    }
};

// Whois chains over real sockets against the test world's servers, found
// through the test DNS server.
class WhoisChainRealDnsTest : public test::TestDns {
  protected:
    void SetUp() override {
        test::TestDns::SetUp();
        if (IsSkipped()) {
            return;
        }
        world = std::make_unique<test::WhoisTestWorld>();
        folder.Write("suffixes.dat",
                     "// ===BEGIN ICANN DOMAINS===\ntest\nco.test\n// ===END ICANN DOMAINS===\n");
        suffixes = PublicSuffixList::FromFile(folder.File("suffixes.dat"));
    }

    // The servers named in the page's separator lines, and the page's lines.
    Lines Page(const std::string& host, WhoisSockets& sockets,
               const std::string& server = "whois.iana.org") {
        WhoisChain chain({server, "https://data.test/dns.json"}, sockets, web, session, *suffixes,
                         clock, [&] { return stopped.load(); });
        Lines page;
        chain.Run(host, [&](const WhoisAnswer& answer) {
            page.push_back(WhoisSeparator(answer.server));
            page.insert(page.end(), answer.lines.begin(), answer.lines.end());
        });
        return page;
    }

    Lines Page(const std::string& host, const std::string& server = "whois.iana.org") {
        WhoisSockets sockets(settings);
        return Page(host, sockets, server);
    }

    test::TemporaryFolder folder;
    std::unique_ptr<test::WhoisTestWorld> world;
    std::shared_ptr<const PublicSuffixList> suffixes;
    TNetWhois settings{std::make_shared<SystemResolver>()};
    NoWeb web;
    WhoisSession session{RdapBootstrapCache(folder.Path())};
    SystemClock clock;
    std::atomic<bool> stopped{false};
};

TEST_F(WhoisChainRealDnsTest, FindsTheRegistryAndFollowsTheRegistrarAskingIanaOncePerSuffix) {
    const Lines thin = {"--- whois.thin.test ---",
                        "Domain Name: example.thin\r",
                        "Registrar WHOIS Server: whois.registrar.test\r",
                        "Updated Date: 2024-01-01T00:00:00Z\r",
                        "--- whois.registrar.test ---",
                        "Domain Name: example.thin\r",
                        "Registrar: Test Registrar\r",
                        "Registrar WHOIS Server: whois.registrar.test\r",
                        "Registrant Organization: Test Shop\r",
                        "Creation Date: 2001-02-03T04:05:06Z\r"};
    EXPECT_EQ(Page("www.example.thin"), thin);
    EXPECT_EQ(world->IanaConnections(), 1);
    EXPECT_EQ(Page("shop.example.thin"), thin);
    EXPECT_EQ(world->IanaConnections(), 1) << "the second query asks no IANA";

    EXPECT_EQ(
        Page("www.shop.co.test"),
        (Lines{"--- whois.nic.test ---", "Domain Name: shop.co.test\r",
               "Registrar: Test Registry Registrar\r", "Creation Date: 2001-02-03T04:05:06Z\r"}));
    EXPECT_EQ(
        Page("203.0.113.10"),
        (Lines{"--- whois.rir.test ---", "inetnum:        203.0.113.0 - 203.0.113.255\r",
               "netname:        TEST-NET-3\r", "descr:          asked about 203.0.113.10\r"}));
    EXPECT_EQ(world->IanaConnections(), 3);
}

TEST_F(WhoisChainRealDnsTest, ALoopEndsAndANamedServerGetsTodaysQuery) {
    EXPECT_EQ(Page("a.b.example.loop", "whois.loop-b.test"),
              (Lines{"--- whois.loop-b.test ---", "Domain Name: example.loop\r", "Registrar: B\r",
                     "refer: whois.loop-a.test\r", "Creation Date: 2001-02-03T04:05:06Z\r",
                     "--- whois.loop-a.test ---", "Domain Name: example.loop\r", "Registrar: A\r",
                     "refer: whois.loop-b.test\r", "Creation Date: 2001-02-03T04:05:06Z\r"}));
    EXPECT_EQ(world->Connections("whois.loop-a.test"), 1);
    EXPECT_EQ(world->Connections("whois.loop-b.test"), 1);
}

TEST_F(WhoisChainRealDnsTest, StopEndsAChainWaitingForAServerThatNeverAnswers) {
    WhoisSockets sockets(settings);
    auto chain = std::async(std::launch::async, [&] { return Page("example.silent", sockets); });
    while (world->Connections("whois.silent.test") == 0) {
        ASSERT_EQ(chain.wait_for(10ms), std::future_status::timeout) << "the chain ended early";
    }
    const auto stop = std::chrono::steady_clock::now();
    stopped = true;
    sockets.Stop();
    ASSERT_EQ(chain.wait_for(5s), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - stop, 1s);
    EXPECT_THROW(chain.get(), WhoisChainStopped);
}

}  // namespace
}  // namespace hostlore
