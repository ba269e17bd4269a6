#include "query/whois/whois_thread.h"

#include <gtest/gtest.h>

#include "support/fake_views.h"
#include "support/loopback_server.h"
#include "support/recording_server.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

class WhoisThreadTest : public ::testing::Test {
  protected:
    void SetUp() override { settings.whoisServer = {"127.0.0.1", server.Port()}; }

    std::shared_ptr<whois_thread> Query(const std::string& url) {
        test::WorkerRun each;
        auto worker = each.Start<whois_thread>(
            url, page, settings, nullptr,
            WhoisServices::WithCacheIn(folder.Path(), std::make_shared<SystemClock>()));
        EXPECT_TRUE(each.WaitForEnd());
        return worker;
    }

    using Lines = std::vector<std::string>;
    test::TemporaryFolder folder;
    test::RecordingServer server{"\r\n", test::ScriptedWhoisReply};
    ConnectionSettings settings;
    test::RecordingWhois page;
};

TEST_F(WhoisThreadTest, ShowsTheReplyLineByLineForTheDomainOfTheHost) {
    page.lines = {"an earlier reply"};
    EXPECT_FALSE(Query("http://www.shop.example.test/path")->Failure());
    EXPECT_EQ(server.Requests(), Lines{"example.test\r\n"});
    EXPECT_EQ(page.lines,
              (Lines{"Domain Name: example.test\r", "\r", "Registrar: Test Registrar\r"}));
    ASSERT_EQ(page.replies.size(), 1U);
    EXPECT_EQ(page.replies[0].first, "127.0.0.1:" + std::to_string(server.Port()));
    EXPECT_EQ(page.replies[0].second,
              "Domain Name: example.test\r\n\r\nRegistrar: Test Registrar\r\n");
}

TEST_F(WhoisThreadTest, AnEmptyHostSendsNoQuery) {
    EXPECT_FALSE(Query("http:///index.html")->Failure());
    EXPECT_EQ(server.Accepted(), 0);
    EXPECT_TRUE(page.lines.empty());
}

TEST_F(WhoisThreadTest, AServerThatCannotBeReachedOrSaysNothingLeavesThePageEmptyAndSaysWhy) {
    int closedPort = 0;
    {
        test::LoopbackServer gone([](test::ServerConnection&) {});
        closedPort = gone.Port();
    }
    const struct {
        WhoisServerAddress server;
        const char* url;
        const char* reason;
    } cases[] = {
        {{"127.0.0.1", closedPort}, "http://example.test", "Connection refused."},
        {{"127.0.0.1", server.Port()}, "http://closing.test", "Connection closed without a reply."},
        {{"nowhere.invalid", 43}, "http://example.test", "Host not found."},
    };
    for (const auto& c : cases) {
        page.lines = {"an earlier reply"};
        settings.whoisServer = c.server;
        const auto worker = Query(c.url);
        EXPECT_TRUE(page.lines.empty()) << c.reason;
        EXPECT_EQ(worker->Failure().value_or("none"), c.reason);
    }
}

}  // namespace
}  // namespace hostlore
