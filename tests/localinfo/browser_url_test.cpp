#include "localinfo/browser_url.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

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

class FailingSource : public BrowserUrlSource {
  public:
    explicit FailingSource(std::function<void()> fail) : fail_(std::move(fail)) {}
    std::optional<std::string> ActivePageReply() override {
        fail_();
        return std::nullopt;
    }

  private:
    std::function<void()> fail_;
};

// Whatever goes wrong while the browser is asked, memory included, the
// capture has no URL; nothing escapes into the window's handlers.
TEST(GetBrowserURL, AnyFailureMeansNoUrl) {
    const std::function<void()> failures[] = {
        [] { throw std::bad_alloc(); },
        [] { throw std::runtime_error("broken"); },
        [] { throw std::length_error("too long"); },
    };
    for (const auto& fail : failures) {
        FailingSource source(fail);
        EXPECT_EQ(GetBrowserURL(source), "XXX");
    }
}

}  // namespace
}  // namespace hostlore
