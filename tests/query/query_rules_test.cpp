#include "query/query_rules.h"

#include <gtest/gtest.h>

#include "support/temporary_folder.h"

namespace hostlore {
namespace {

TEST(NormalizedQueryUrl, TrimsThenPrefixesOnlyTextsWithoutASchemeSeparator) {
    const std::pair<const char*, const char*> cases[] = {
        {"example.com", "http://example.com"},
        {" example.com", "http://example.com"},
        {"\t http://example.com/a b \r\n", "http://example.com/a b"},
        {"ftp://example.com", "ftp://example.com"},
        {"weird://x", "weird://x"},
        {"HTTP://Example.COM/", "HTTP://Example.COM/"},
        {"a/b://c", "a/b://c"},
        {"http:/x", "http://http:/x"},
    };
    for (const auto& [typed, expected] : cases) {
        EXPECT_EQ(NormalizedQueryUrl(typed), expected) << typed;
    }
}

TEST(PageIndexOfName, MatchesPageCaptionsExactly) {
    const std::pair<const char*, int> cases[] = {
        {"General Info", kGeneralInfoPage},
        {"DNS Records", kDnsRecordsPage},
        {"Web Server", kWebServerPage},
        {"Whois Info", kWhoisInfoPage},
        {"Site Info", kSiteInfoPage},
        {"Whois Source", kWhoisSourcePage},
        {"Backward Links", kBackwardLinksPage},
        {"Similar Pages", kSimilarPagesPage},
        {"IP Neighborhood", kNeighbourhoodPage},
        {"Local Network Info", kLocalNetworkPage},
        {"similar pages", 0},
        {"Similar Pages ", 0},
        {"", 0},
        {"7", 0},
    };
    for (const auto& [name, index] : cases) {
        EXPECT_EQ(PageIndexOfName(name), index) << "'" << name << "'";
    }
}

TEST(WhoisServerHost, FallsBackToTheBuiltInServerWhenMissingOrEmpty) {
    test::TemporaryFolder folder;
    SettingsStore store(folder.File("settings.ini"));
    EXPECT_EQ(WhoisServerHost(store), "whois.iana.org");
    EXPECT_EQ(RdapBootstrapUrl(store), "https://data.iana.org/rdap/dns.json");

    folder.Write("settings.ini", "[whois]\r\nserver=\r\nrdap_bootstrap=\r\n");
    EXPECT_EQ(WhoisServerHost(store), "whois.iana.org");
    EXPECT_EQ(RdapBootstrapUrl(store), "https://data.iana.org/rdap/dns.json");

    folder.Write("settings.ini",
                 "[WHOIS]\r\nServer = whois.example.test\r\nrdap_bootstrap=http://x.test/d\r\n");
    EXPECT_EQ(WhoisServerHost(store), "whois.example.test");
    EXPECT_EQ(RdapBootstrapUrl(store), "http://x.test/d");
}

TEST(PageAfterQuery, ReadsGoToWithGeneralInfoAsDefault) {
    test::TemporaryFolder folder;
    SettingsStore store(folder.File("settings.ini"));
    EXPECT_EQ(PageAfterQuery(store), 0);
    folder.Write("settings.ini", "[general]\ngo_to=IP Neighborhood\n");
    EXPECT_EQ(PageAfterQuery(store), kNeighbourhoodPage);
    folder.Write("settings.ini", "[general]\ngo_to=ip neighborhood\n");
    EXPECT_EQ(PageAfterQuery(store), 0);
}

}  // namespace
}  // namespace hostlore
