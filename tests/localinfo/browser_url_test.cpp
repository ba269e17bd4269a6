#include "localinfo/browser_url.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

TEST(UrlFromBrowserReply, CutsTheUrlOutOrGivesTheNoUrlMark) {
    const std::pair<std::optional<std::string>, const char*> cases[] = {
        {R"("http://www.example.test/page","Example Page")", "http://www.example.test/page"},
        {R"("http://a.test/",)", "http://a.test/"},
        {R"("http://a.test/","A page about:blank pages")", "XXX"},
        {R"("http://a.test/","see file:///etc")", "XXX"},
        {R"("file:///home/user/page.html","Local")", "XXX"},
        {R"("about:blank","")", "XXX"},
        {"no quotation marks", "XXX"},
        {"", "XXX"},
        {std::nullopt, "XXX"},
        {R"("http://unterminated)", "XXX"},
        {"\"", "XXX"},
        {std::string("\"http://a.test/\"\0\"about:blank\"", 29), "http://a.test/"},
    };
    for (const auto& [reply, url] : cases) {
        EXPECT_EQ(UrlFromBrowserReply(reply), url) << reply.value_or("(no reply)");
    }
}

}  // namespace
}  // namespace hostlore
