#include "query/whois_thread.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <iostream>
#include <mutex>

#include "app/main_window.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
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
        program.WriteSettings("[general]\r\nexecute=false\r\n[whois]\r\nserver=127.0.0.1\r\n");
        window = std::make_unique<Tmain>(program.Services());
        window->NetWhois->Port = server.Port();
    }

    void Query(const QString& url) {
        window->url_edit->setEditText(url);
        window->goClick(window->go);
    }

    bool Done() const { return window->Label5->text() == "Done!"; }

    ScriptedWhoisServer server;
    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
};

TEST_F(WhoisThreadTest, ShowsTheReplyLineByLineForTheDomainOfTheHost) {
    window->Memo3->setPlainText("an earlier reply");
    Query("http://www.shop.example.test/path");
    EXPECT_EQ(window->Label5->text(), "Working, Please Wait...");
    ASSERT_TRUE(test::PumpUntil([&] { return Done(); }));
    EXPECT_EQ(server.Requests(), std::vector<std::string>{"example.test\r\n"});
    EXPECT_EQ(window->Memo3->toPlainText(),
              "Domain Name: example.test\n\nRegistrar: Test Registrar");
}

TEST_F(WhoisThreadTest, TwoQueriesInQuickSuccessionLeaveTheSecondReply) {
    Query("silent.test");
    Query("second.test");
    ASSERT_TRUE(test::PumpUntil([&] { return Done(); }));
    EXPECT_EQ(window->Memo3->toPlainText(),
              "Domain Name: second.test\n\nRegistrar: Test Registrar");
    test::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(window->Label5->text(), "Done!");
}

TEST_F(WhoisThreadTest, AStopWhileWaitingLeavesTheMemoEmptyAndEndsTheWorkerAtOnce) {
    Query("silent.test");
    ASSERT_TRUE(test::PumpUntil([&] { return server.Requests().size() == 1; }));
    const std::weak_ptr<TThread> worker = window->WhoisWorker();
    ASSERT_FALSE(worker.expired());

    QElapsedTimer clock;
    clock.start();
    window->whois_stopClick(window->whois_stop);
    ASSERT_TRUE(test::PumpUntil([&] { return worker.expired(); }, 1000));
    const qint64 latency = clock.nsecsElapsed();
    std::cout << "[ figures  ] whois stop latency: " << latency / 1000 << " us\n";
    RecordProperty("stop_latency_us", static_cast<int>(latency / 1000));

    EXPECT_LT(latency, 250'000'000) << "within one wait slice";
    EXPECT_EQ(window->Label5->text(), "Done!");
    EXPECT_TRUE(window->Memo3->toPlainText().isEmpty());
}

TEST_F(WhoisThreadTest, AStopWhileDoneChangesNothing) {
    Query("example.test");
    ASSERT_TRUE(test::PumpUntil([&] { return Done(); }));
    const QString shown = window->Memo3->toPlainText();
    window->whois_stopClick(window->whois_stop);
    EXPECT_EQ(window->Label5->text(), "Done!");
    EXPECT_EQ(window->Memo3->toPlainText(), shown);
}

TEST_F(WhoisThreadTest, AnEmptyHostSendsNoQuery) {
    Query("http:///index.html");
    ASSERT_TRUE(test::PumpUntil([&] { return Done(); }));
    EXPECT_EQ(server.Accepted(), 0);
    EXPECT_TRUE(window->Memo3->toPlainText().isEmpty());
}

TEST_F(WhoisThreadTest, AServerThatCannotBeReachedEndsQuietly) {
    int closedPort = 0;
    {
        test::LoopbackServer gone([](test::ServerConnection&) {});
        closedPort = gone.Port();
    }
    window->NetWhois->Port = closedPort;
    window->Memo3->setPlainText("an earlier reply");
    Query("example.test");
    ASSERT_TRUE(test::PumpUntil([&] { return Done(); }));
    EXPECT_TRUE(window->Memo3->toPlainText().isEmpty());
    for (const auto& box : program.boxes->shown) {
        EXPECT_EQ(box.text, "Website does not exist! ") << "the whois failure shows no box";
    }
}

TEST_F(WhoisThreadTest, AnEmptyReplyLeavesTheMemoEmpty) {
    Query("closing.test");
    ASSERT_TRUE(test::PumpUntil([&] { return Done(); }));
    EXPECT_TRUE(window->Memo3->toPlainText().isEmpty());
}

}  // namespace
}  // namespace hostlore
