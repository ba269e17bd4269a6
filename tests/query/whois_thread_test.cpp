#include "query/whois_thread.h"

#include <gtest/gtest.h>

#include "support/fake_views.h"
#include "support/loopback_server.h"
#include "support/scripted_whois_server.h"

namespace hostlore {
namespace {

class WhoisThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.Host = "127.0.0.1";
        settings.Port = server.Port();
    }

    void Query(const std::string& url) {
        run.Start<whois_thread>(url, page, settings);
        ASSERT_TRUE(run.WaitForEnd());
    }

    using Lines = std::vector<std::string>;
    test::ScriptedWhoisServer server;
    TNetWhois settings{nullptr};
    test::RecordingWhois page;
    test::WorkerRun run;
};

TEST_F(WhoisThreadTest, ShowsTheReplyLineByLineForTheDomainOfTheHost) {
    page.lines = {"an earlier reply"};
    Query("http://www.shop.example.test/path");
    EXPECT_EQ(server.Requests(), Lines{"example.test\r\n"});
    EXPECT_EQ(page.lines,
              (Lines{"Domain Name: example.test\r", "\r", "Registrar: Test Registrar\r"}));
}

TEST_F(WhoisThreadTest, AnEmptyHostSendsNoQuery) {
    Query("http:///index.html");
    EXPECT_EQ(server.Accepted(), 0);
    EXPECT_TRUE(page.lines.empty());
}

TEST_F(WhoisThreadTest, AServerThatCannotBeReachedOrSaysNothingLeavesThePageEmpty) {
    int closedPort = 0;
    {
        test::LoopbackServer gone([](test::ServerConnection&) {});
        closedPort = gone.Port();
    }
    page.lines = {"an earlier reply"};
    settings.Port = closedPort;
    Query("http://example.test");
    EXPECT_TRUE(page.lines.empty());

    settings.Port = server.Port();
    test::WorkerRun again;
    again.Start<whois_thread>("http://closing.test", page, settings);
    ASSERT_TRUE(again.WaitForEnd());
    EXPECT_TRUE(page.lines.empty());
}

}  // namespace
}  // namespace hostlore
