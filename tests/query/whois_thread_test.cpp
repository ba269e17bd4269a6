#include "query/whois_thread.h"

#include <gtest/gtest.h>

#include <mutex>

#include "support/fake_views.h"
#include "support/gate.h"
#include "support/loopback_server.h"

namespace hostlore {
namespace {

// A whois server whose answer depends on the query; a query for "silent.test"
// is never answered while the test runs.
class ScriptedWhoisServer {
  public:
    ScriptedWhoisServer()
        : silence_(std::make_shared<test::Gate>()), server_([this](test::ServerConnection& peer) {
              const std::string request = peer.ReadUntil("\r\n");
              Record(request);
              if (request == "silent.test\r\n") {
                  silence_->Wait();
              } else if (request != "closing.test\r\n") {
                  peer.Send("Domain Name: " + request.substr(0, request.size() - 2) +
                            "\r\n\r\nRegistrar: Test Registrar\r\n");
              }
          }) {}
    ~ScriptedWhoisServer() { silence_->Open(); }
    ScriptedWhoisServer(const ScriptedWhoisServer&) = delete;
    ScriptedWhoisServer& operator=(const ScriptedWhoisServer&) = delete;

    int Port() const { return server_.Port(); }
    int Accepted() const { return server_.Accepted(); }
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

  private:
    void Record(const std::string& request) {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }

    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::shared_ptr<test::Gate> silence_;
    test::LoopbackServer server_;
};

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
    ScriptedWhoisServer server;
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
