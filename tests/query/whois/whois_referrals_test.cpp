#include "query/whois/whois_referrals.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

using Servers = std::vector<WhoisServerAddress>;

TEST(ReferralsIn, NamesEachServerTheReplySendsOnTo) {
    const std::pair<const char*, Servers> cases[] = {
        {"Domain Name: EXAMPLE.COM\r\n   Registrar WHOIS Server: Whois.Registrar.Test\r\n",
         {{"whois.registrar.test"}}},
        {"ReferralServer:  whois://whois.ripe.net\n", {{"whois.ripe.net"}}},
        {"ReferralServer: whois://whois.nir.test:4343/\n", {{"whois.nir.test", 4343}}},
        {"ReferralServer: rwhois://rwhois.example.net:4321\n", {}},
        {"refer:        whois.arin.net\n\nwhois: whois.other.test\n", {{"whois.arin.net"}}},
        {"Registrar WHOIS Server:\r\n", {}},
        {"Registrar WHOIS Server: http://www.registrar.test/whois\r\n", {}},
        {"Registrar WHOIS Server: not a host\r\n", {}},
        {"registrar whois server: a.test\nREFER: b.test.\n", {{"a.test"}, {"b.test"}}},
        {"Registrar: Example Registrar\n", {}},
    };
    for (const auto& [reply, servers] : cases) {
        EXPECT_EQ(ReferralsIn(reply), servers) << reply;
    }
}

TEST(IanaAnswers, TheRegistryOfADomainAndOfAnAddress) {
    const char* domain =
        "% IANA WHOIS server\n\nrefer:        whois.nic.test\n\ndomain:       TEST\n"
        "whois:        whois.nic.test\n";
    const char* address =
        "refer:        whois.rir.test\n\ninetnum:      203.0.0.0 - 203.255.255.255\n";
    const char* none = "% This query returned 0 objects.\n";
    EXPECT_EQ(IanaRegistryServer(domain), WhoisServerAddress{"whois.nic.test"});
    EXPECT_EQ(IanaRegistryServer(address), std::nullopt);
    EXPECT_EQ(IanaRegistryServer(none), std::nullopt);
    EXPECT_EQ(IanaAddressRegistry(address), WhoisServerAddress{"whois.rir.test"});
    EXPECT_EQ(IanaAddressRegistry(none), std::nullopt);
    EXPECT_EQ(WhoisServerName({"whois.nir.test", 4343}), "whois.nir.test:4343");
}

TEST(IanaAnswers, OnlyAWholeAnswerAboutTheDomainIsOneToKeep) {
    const std::string whole =
        "% IANA WHOIS server\n\nrefer:  whois.nic.test\n\ndomain:       TEST\n\n"
        "whois:        whois.nic.test\n\nstatus:       ACTIVE\n\nsource:       IANA\n";
    struct Case {
        std::string reply;
        const char* topLevel;
        bool whole;
    };
    const Case cases[] = {
        {whole, "test", true},
        {"domain:       NOWHOIS\n\nstatus:       ACTIVE\nsource:       IANA\n", "nowhois", true},
        {"domain:       \u30c6\u30b9\u30c8\nsource:       IANA\n", "xn--zckzah", true},
        {whole.substr(0, whole.find("whois:")), "test", false},
        {whole.substr(0, whole.find("source:")), "test", false},
        {"% This query returned 0 objects.\n", "test", false},
        {"% Error: Invalid query\nsource:       IANA\n", "test", false},
        {whole, "other", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsWholeIanaAnswer(c.reply, c.topLevel), c.whole) << c.reply;
    }
}

TEST(IsRdapNotice, AShortReplyAboutRdapWithoutARecord) {
    const std::string nineLines = "RDAP only\n1\n2\n3\n4\n5\n6\n7\n8\n";
    const std::pair<std::string, bool> cases[] = {
        {"This registry answers over RDAP only: https://rdap.nic.test/\r\n", true},
        {"\r\n\r\nWhois has moved. Use rdap.\r\n\r\n", true},
        {nineLines, true},
        {nineLines + "9\n", false},
        {"Domain Name: EXAMPLE.TEST\nSee RDAP for more.\n", false},
        {"No match for \"EXAMPLE.TEST\".\n", false},
        {"", false},
    };
    for (const auto& [reply, notice] : cases) {
        EXPECT_EQ(IsRdapNotice(reply), notice) << reply;
    }
}

}  // namespace
}  // namespace hostlore
