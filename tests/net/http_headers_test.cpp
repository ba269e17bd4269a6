#include "net/http_headers.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

TNetHeaderList ListOf(std::initializer_list<const char*> lines) {
    TNetHeaderList list;
    for (const char* line : lines) {
        list.Add(line);
    }
    return list;
}

TEST(TNetHeaderList, ReadsValuesByTheRulesOfHeaderLines) {
    const TNetHeaderList list = ListOf({
        "Server: Apache",
        " (Unix)",
        "\tmod_test/1.0",
        "X-Trailing: kept  ",
        "X-Blank-End: a ",
        "  b",
        "Set-Cookie: first",
        "set-cookie: second",
        "Content-Type : text/html",
        "Empty:",
        "  continued",
        "NoColonLine",
    });
    const std::pair<const char*, const char*> cases[] = {
        {"Server", "Apache (Unix) mod_test/1.0"},
        {"SERVER", "Apache (Unix) mod_test/1.0"},
        {"X-Trailing", "kept  "},
        {"X-Blank-End", "a b"},
        {"Set-Cookie", "first"},
        {"Content-Type", ""},
        {"Content-Type ", "text/html"},
        {"Empty", "continued"},
        {"Missing", ""},
    };
    for (const auto& [name, value] : cases) {
        EXPECT_EQ(list.Value(name), value) << name;
    }
    using Values = std::vector<std::string>;
    EXPECT_EQ(list.Values("SET-COOKIE"), (Values{"first", "second"}));
    EXPECT_EQ(list.Values("Server"), Values{"Apache (Unix) mod_test/1.0"});
    EXPECT_EQ(list.Values("Missing"), Values{});
}

// A line without ":" has an empty name: it is never the line of a name that
// only its text resembles, and neither are the lines that continue it.
TEST(TNetHeaderList, ALineWithoutAColonHasAnEmptyName) {
    TNetHeaderList list = ListOf({"Server", " (Unix)", "Date: x"});
    EXPECT_EQ(list.Value("Server"), "");
    EXPECT_EQ(list.Value(""), "(Unix)");
    list.Remove("Server");
    EXPECT_EQ(list.Lines().size(), 3u);
    list.Remove("");
    EXPECT_EQ(list.Lines(), std::vector<std::string>{"Date: x"});
}

TEST(TNetHeaderList, RemovesTheFirstLineOfANameWithItsContinuations) {
    TNetHeaderList list = ListOf({"Server: Apache", " (Unix)", "Date: x", "Server: second"});
    list.Remove("server");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"Date: x", "Server: second"}));
    EXPECT_EQ(list.Value("Server"), "second");
    list.Remove("Missing");
    EXPECT_EQ(list.Lines().size(), 2u);
}

TEST(Base64, EncodesOnOneLineWithPadding) {
    const std::pair<const char*, const char*> cases[] = {{"", ""},
                                                         {"f", "Zg=="},
                                                         {"fo", "Zm8="},
                                                         {"foo", "Zm9v"},
                                                         {"user:pass", "dXNlcjpwYXNz"},
                                                         {"\xff\xfe", "//4="}};
    for (const auto& [plain, encoded] : cases) {
        EXPECT_EQ(Base64(plain), encoded) << plain;
    }
}

TEST(TNetHeaderInfo, StartsWithTheProgramsRequestValues) {
    const TNetHeaderInfo info;
    EXPECT_EQ(info.Accept, "text/html, */*");
    EXPECT_EQ(info.UserAgent, "Mozilla/3.0 (compatible; Hostlore)");
    EXPECT_EQ(info.Date, 0);
    EXPECT_TRUE(info.ExtraHeaders.Lines().empty());
}

}  // namespace
}  // namespace hostlore
