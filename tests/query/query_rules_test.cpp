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
        {"General Info", 0},
        {"Whois Info", 1},
        {"Site Info", 2},
        {"Whois Source", 3},
        {"Backward Links", 4},
        {"Similar Pages", 5},
        {"IP Neighborhood", 6},
        {"Local Network Info", 7},
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
    const std::string builtIn = WhoisServerHost(store);
    EXPECT_FALSE(builtIn.empty());

    folder.Write("settings.ini", "[whois]\r\nserver=\r\n");
    EXPECT_EQ(WhoisServerHost(store), builtIn);

    folder.Write("settings.ini", "[WHOIS]\r\nServer = whois.example.test\r\n");
    EXPECT_EQ(WhoisServerHost(store), "whois.example.test");
}

TEST(PageAfterQuery, ReadsGoToWithGeneralInfoAsDefault) {
    test::TemporaryFolder folder;
    SettingsStore store(folder.File("settings.ini"));
    EXPECT_EQ(PageAfterQuery(store), 0);
    folder.Write("settings.ini", "[general]\ngo_to=IP Neighborhood\n");
    EXPECT_EQ(PageAfterQuery(store), 6);
    folder.Write("settings.ini", "[general]\ngo_to=ip neighborhood\n");
    EXPECT_EQ(PageAfterQuery(store), 0);
}

}  // namespace
}  // namespace hostlore
