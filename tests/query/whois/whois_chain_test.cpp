#include "query/whois/whois_chain.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <stdexcept>
#include <thread>

#include "net/net_errors.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

using Lines = std::vector<std::string>;

// Whois servers and web servers that answer from tables; whatever is not in
// them refuses. A whois server at an address the check refuses is never asked.
class TableNetwork : public WhoisAsker, public RdapFetcher {
  public:
    ReplyFrom AskWhois(const WhoisServerAddress& server, const std::string& query,
                       const AddressCheck& check) override {
        const std::string address = addresses[WhoisServerName(server)];
        if (const auto refusal = check ? check(address) : std::nullopt) {
            throw ENetAddressRefused(*refusal);
        }
        const std::string key = WhoisServerName(server) + " " + query;
        asked.push_back(key);
        if (key == stopDuring) {
            stopped = true;
        }
        if (during) {
            during(key);
        }
        const auto reply = whois.find(key);
        if (reply == whois.end()) {
            throw std::runtime_error("Connection refused.");
        }
        return {reply->second, address};
    }
    std::string Get(const std::string& url, std::string_view accept) override {
        asked.push_back("GET " + url + " " + std::string(accept));
        const auto body = web.find(url);
        if (body == web.end()) {
            throw std::runtime_error("Not Found");
        }
        return body->second;
    }

    std::map<std::string, std::string> whois;
    std::map<std::string, std::string> addresses;  // by server; unknown when missing
    std::map<std::string, std::string> web;
    Lines asked;
    std::string stopDuring;
    std::function<void(const std::string& key)> during;
    bool stopped = false;
};

std::string IanaDomain(const std::string& topLevel, const std::string& registry) {
    return "% IANA WHOIS server\n\nrefer:  " + registry + "\n\ndomain:  " + topLevel +
           "\n\nwhois:  " + registry + "\n\nsource:  IANA\n";
}

std::string RdapDomain(const std::string& name, const std::string& related = "") {
    return R"({"ldhName": ")" + name + R"(", "links": [{"rel": "related", "href": ")" + related +
           R"("}]})";
}

constexpr const char* kBootstrapUrl = "https://data.test/dns.json";

class WhoisChainTest : public ::testing::Test {
  protected:
    WhoisChainTest() {
        network.whois = {
            {"whois.iana.org thin", IanaDomain("THIN", "whois.thin.test")},
            {"whois.thin.test example.thin",
             "Domain Name: EXAMPLE.THIN\nRegistrar WHOIS Server: whois.registrar.test\n"},
            {"whois.registrar.test example.thin",
             "Domain Name: EXAMPLE.THIN\r\nRegistrant: A. Person\r\n"
             "Registrar WHOIS Server: whois.registrar.test\r\nrefer: whois.reseller.test\r\n"},
            {"whois.iana.org moved", IanaDomain("MOVED", "whois.moved.test")},
            {"whois.moved.test example.moved", "This registry answers over RDAP only.\n"},
            {"whois.iana.org gone", IanaDomain("GONE", "whois.gone.test")},
            {"whois.iana.org quiet", IanaDomain("QUIET", "whois.quiet.test")},
            {"whois.quiet.test example.quiet", ""},
            {"whois.iana.org nowhois", "domain:  NOWHOIS\nsource:  IANA\n"},
            {"whois.iana.org unknown", "% This query returned 0 objects.\n"},
            {"whois.iana.org away", IanaDomain("AWAY", "whois.away.test")},
            {"whois.away.test example.away", "Use RDAP.\n"},
            {"whois.iana.org 203.0.113.10", "refer:  whois.rir.test\n"},
            {"whois.rir.test 203.0.113.10",
             "inetnum: 203.0.113.0 - 203.0.113.255\nReferralServer: whois://whois.nir.test\n"},
            {"whois.nir.test 203.0.113.10", "netname: TEST-NET-3\n"},
            {"whois.iana.org 192.0.2.1", "inetnum: 192.0.2.0 - 192.0.2.255\n"},
            {"whois.loop-a.test example.loop", "Domain Name: A\nrefer: whois.loop-b.test\n"},
            {"whois.loop-b.test example.loop", "Domain Name: B\nrefer: whois.loop-a.test\n"},
            {"whois.hop1.test example.hop", "1\nrefer: whois.hop2.test\n"},
            {"whois.hop2.test example.hop", "2\nrefer: whois.hop3.test\n"},
            {"whois.hop3.test example.hop", "3\nrefer: whois.hop4.test\n"},
            {"whois.hop4.test example.hop", "4\n"},
            {"whois.iana.org busy", IanaDomain("BUSY", "whois.busy.test")},
            {"whois.iana.org partial",
             "refer:  whois.partial.test\n\nwhois:  whois.partial.test\n"},
            {"whois.partial.test example.partial", "Domain Name: EXAMPLE.PARTIAL\n"},
            {"whois.busy.test example.busy", "WHOIS LIMIT EXCEEDED - SEE WWW.PIR.ORG/WHOIS\r\n"},
            {"whois.iana.org tired", IanaDomain("TIRED", "whois.tired.test")},
            {"whois.tired.test example.tired",
             "Domain Name: EXAMPLE.TIRED\nRegistrar: Tired Registrar\n"
             "Registrar WHOIS Server: whois.reseller.test\n"},
            {"whois.reseller.test example.tired", "Query rate limit exceeded\n"},
            {"whois.public.test example.refer",
             "P\nRegistrar WHOIS Server: whois.inside.test\n"
             "ReferralServer: whois://whois.public.test:4343\nrefer: whois.next.test\n"},
            {"whois.next.test example.refer", "N\n"},
            {"whois.local.test example.refer", "L\nrefer: whois.inside.test:4343\n"},
            {"whois.inside.test:4343 example.refer", "I\n"},
        };
        network.addresses = {
            {"whois.public.test", "198.51.100.43"}, {"whois.next.test", "198.51.100.44"},
            {"whois.inside.test", "10.0.0.43"},     {"whois.inside.test:4343", "10.0.0.43"},
            {"whois.local.test", "127.0.0.1"},
        };
        network.web = {
            {kBootstrapUrl, R"({"services": [[["moved", "gone", "quiet", "nowhois"],
                              ["https://rdap.nic.test/"]]]})"},
            {"https://rdap.nic.test/domain/example.moved",
             RdapDomain("EXAMPLE.MOVED", "https://rdap.registrar.test/domain/EXAMPLE.MOVED")},
            {"https://rdap.registrar.test/domain/EXAMPLE.MOVED", RdapDomain("example.moved")},
            {"https://rdap.nic.test/domain/example.gone", RdapDomain("EXAMPLE.GONE")},
            {"https://rdap.nic.test/domain/example.quiet", RdapDomain("EXAMPLE.QUIET")},
            {"https://rdap.nic.test/domain/example.nowhois", RdapDomain("EXAMPLE.NOWHOIS")},
        };
    }

    // The page's lines after a chain for the host.
    Lines Page(const std::string& host, const std::string& server = "whois.iana.org") {
        WhoisChain chain({ParseWhoisServer(server), kBootstrapUrl}, network, network, session,
                         *suffixes, clock, [this] { return network.stopped; });
        Lines page;
        chain.Run(host, {.received =
                             [&](const ChainAnswer& answer) { received.push_back(answer.source); },
                         .shown =
                             [&](const ChainAnswer& answer) {
                                 page.insert(page.end(), answer.lines.begin(), answer.lines.end());
                             }});
        failure = chain.Failure();
        return page;
    }

    test::TemporaryFolder folder;
    TableNetwork network;
    WhoisSession session{RdapBootstrapCache(folder.Path())};
    std::shared_ptr<const PublicSuffixList> suffixes = PublicSuffixList::Packaged();
    SystemClock clock;
    std::string failure;
    Lines received;
};

TEST_F(WhoisChainTest, EachKindOfRegistry) {
    const std::string bootstrap = std::string("GET ") + kBootstrapUrl + " application/json";
    const Lines thin = {
        "Domain Name: EXAMPLE.THIN",    "Registrar WHOIS Server: whois.registrar.test",
        "--- whois.registrar.test ---", "Domain Name: EXAMPLE.THIN\r",
        "Registrant: A. Person\r",      "Registrar WHOIS Server: whois.registrar.test\r",
        "refer: whois.reseller.test\r"};
    struct Case {
        const char* host;
        const char* server;
        Lines page;
        Lines asked;
    };
    // One session for all rows, in order: what IANA and the bootstrap file
    // said is asked only once.
    const Case cases[] = {
        {"www.example.thin",
         "whois.iana.org",
         thin,
         {"whois.iana.org thin", "whois.thin.test example.thin",
          "whois.registrar.test example.thin"}},
        {"a.b.example.thin",
         "WHOIS.IANA.ORG",
         thin,
         {"whois.thin.test example.thin", "whois.registrar.test example.thin"}},
        {"www.example.moved",
         "whois.iana.org",
         {"Domain Name: EXAMPLE.MOVED", "--- rdap.registrar.test ---",
          "Domain Name: example.moved"},
         {"whois.iana.org moved", "whois.moved.test example.moved", bootstrap,
          "GET https://rdap.nic.test/domain/example.moved application/rdap+json",
          "GET https://rdap.registrar.test/domain/EXAMPLE.MOVED application/rdap+json"}},
        {"example.gone",
         "whois.iana.org",
         {"Domain Name: EXAMPLE.GONE"},
         {"whois.iana.org gone", "whois.gone.test example.gone",
          "GET https://rdap.nic.test/domain/example.gone application/rdap+json"}},
        {"example.quiet",
         "whois.iana.org",
         {"Domain Name: EXAMPLE.QUIET"},
         {"whois.iana.org quiet", "whois.quiet.test example.quiet",
          "GET https://rdap.nic.test/domain/example.quiet application/rdap+json"}},
        {"example.nowhois",
         "whois.iana.org",
         {"Domain Name: EXAMPLE.NOWHOIS"},
         {"whois.iana.org nowhois",
          "GET https://rdap.nic.test/domain/example.nowhois application/rdap+json"}},
        {"www.example.nowhois",
         "whois.iana.org",
         {"Domain Name: EXAMPLE.NOWHOIS"},
         {"GET https://rdap.nic.test/domain/example.nowhois application/rdap+json"}},
        {"example.unknown",
         "whois.iana.org",
         {"% This query returned 0 objects."},
         {"whois.iana.org unknown"}},
        {"www.example.unknown",
         "whois.iana.org",
         {"% This query returned 0 objects."},
         {"whois.iana.org unknown"}},
        {"example.away",
         "whois.iana.org",
         {"Use RDAP."},
         {"whois.iana.org away", "whois.away.test example.away"}},
        {"203.0.113.10",
         "whois.iana.org",
         {"inetnum: 203.0.113.0 - 203.0.113.255", "ReferralServer: whois://whois.nir.test",
          "--- whois.nir.test ---", "netname: TEST-NET-3"},
         {"whois.iana.org 203.0.113.10", "whois.rir.test 203.0.113.10",
          "whois.nir.test 203.0.113.10"}},
        {"192.0.2.1",
         "whois.iana.org",
         {"inetnum: 192.0.2.0 - 192.0.2.255"},
         {"whois.iana.org 192.0.2.1"}},
        {"www.example.loop",
         "whois.loop-a.test",
         {"Domain Name: A", "refer: whois.loop-b.test", "--- whois.loop-b.test ---",
          "Domain Name: B", "refer: whois.loop-a.test"},
         {"whois.loop-a.test example.loop", "whois.loop-b.test example.loop"}},
        {"www.shop.example.hop",
         "whois.hop1.test",
         {"1", "refer: whois.hop2.test", "--- whois.hop2.test ---", "2", "refer: whois.hop3.test",
          "--- whois.hop3.test ---", "3", "refer: whois.hop4.test"},
         {"whois.hop1.test example.hop", "whois.hop2.test example.hop",
          "whois.hop3.test example.hop"}},
        {"www.example.hop", "whois.down.test", {}, {"whois.down.test example.hop"}},
        {"www.example.refer",
         "whois.public.test",
         {"P", "Registrar WHOIS Server: whois.inside.test",
          "ReferralServer: whois://whois.public.test:4343", "refer: whois.next.test",
          "--- referral to whois.inside.test not followed: 10.0.0.43 is a private address ---",
          "--- referral to whois.public.test:4343 not followed: port 4343 is not the whois "
          "port ---",
          "--- whois.next.test ---", "N"},
         {"whois.public.test example.refer", "whois.next.test example.refer"}},
        {"www.example.refer",
         "whois.local.test",
         {"L", "refer: whois.inside.test:4343", "--- whois.inside.test:4343 ---", "I"},
         {"whois.local.test example.refer", "whois.inside.test:4343 example.refer"}},
    };
    for (const auto& [host, server, page, asked] : cases) {
        network.asked.clear();
        EXPECT_EQ(Page(host, server), page) << host << " at " << server;
        EXPECT_EQ(network.asked, asked) << host << " at " << server;
    }
}

TEST_F(WhoisChainTest, EveryAnswerIsReceivedAFailureNamedAndAStopEndsTheChainAtOnce) {
    EXPECT_EQ(Page("example.unknown"), Lines{"% This query returned 0 objects."});
    EXPECT_EQ(failure, "No RDAP server is known for example.unknown.");
    Page("example.moved");
    EXPECT_EQ(received, (Lines{"whois.iana.org", "whois.iana.org", "whois.moved.test",
                               "https://rdap.nic.test/domain/example.moved",
                               "https://rdap.registrar.test/domain/EXAMPLE.MOVED"}));

    network.asked.clear();
    network.stopDuring = "whois.thin.test example.thin";
    EXPECT_THROW(Page("www.example.thin"), WhoisChainStopped);
    EXPECT_EQ(network.asked, (Lines{"whois.iana.org thin", "whois.thin.test example.thin"}));
}

// A refusal for being asked too often is no record: alone it is the failure,
// after a record the record stands. Only records carry values.
TEST_F(WhoisChainTest, ARefusalForRateIsNamedAndOnlyRecordsGiveValues) {
    const struct {
        const char* host;
        bool found;
        const char* failure;
        std::vector<std::optional<std::string>> registrars;  // per answer
    } cases[] = {
        {"www.example.busy",
         false,
         "whois.busy.test refused the query, asked too often: WHOIS LIMIT EXCEEDED - SEE "
         "WWW.PIR.ORG/WHOIS",
         {std::nullopt, std::nullopt}},
        {"www.example.tired",
         true,
         "whois.reseller.test refused the query, asked too often: Query rate limit exceeded",
         {std::nullopt, "Tired Registrar", std::nullopt}},
    };
    for (const auto& c : cases) {
        WhoisChain chain({ParseWhoisServer("whois.iana.org"), kBootstrapUrl}, network, network,
                         session, *suffixes, clock, [] { return false; });
        std::vector<std::optional<std::string>> registrars;
        Lines shown;
        chain.Run(
            c.host,
            {.received =
                 [&](const ChainAnswer& answer) { registrars.push_back(answer.fields.registrar); },
             .shown =
                 [&](const ChainAnswer& answer) {
                     shown.insert(shown.end(), answer.lines.begin(), answer.lines.end());
                 }});
        EXPECT_EQ(chain.FoundRecord(), c.found) << c.host;
        EXPECT_EQ(chain.Failure(), c.failure) << c.host;
        EXPECT_EQ(registrars, c.registrars) << c.host;
        EXPECT_FALSE(shown.empty()) << "the refusal's words are shown: " << c.host;
    }
}

// IANA's answer, kept or not, lets the other sites of its top-level domain
// go on while the registry is asked.
TEST_F(WhoisChainTest, TheRegistrysQuestionHoldsNoOtherSiteOfItsDomain) {
    bool claimed = false;
    network.during = [&](const std::string& key) {
        if (key != "whois.partial.test example.partial") {
            return;
        }
        std::thread other([&] {
            const auto start = std::chrono::steady_clock::now();
            std::optional<WhoisSession::Claim> claim;
            session.AwaitRegistry("partial", claim, [&] {
                return std::chrono::steady_clock::now() - start > std::chrono::seconds(1);
            });
            claimed = claim.has_value();
        });
        other.join();
    };
    Page("www.example.partial");
    EXPECT_TRUE(claimed);
}

}  // namespace
}  // namespace hostlore
