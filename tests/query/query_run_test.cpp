#include "query/query_run.h"

#include <gtest/gtest.h>

#include "query/report/report_recorder.h"
#include "support/event_pump.h"
#include "support/fake_resolver.h"
#include "support/loopback_server.h"
#include "support/recording_server.h"
#include "support/refusing_dns.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

using Lines = std::vector<std::string>;

// A fake resolver that counts the reverse batches asked of it.
class BatchCountingResolver : public test::FakeResolver {
  public:
    std::unique_ptr<ReverseLookups> NewReverseLookups() override {
        ++batches;
        return FakeResolver::NewReverseLookups();
    }
    std::atomic<int> batches{0};
};

// Runs queries against a fake resolver, a scripted whois server and a web
// server that answers every HEAD request, into recording pages.
class QueryRunTest : public ::testing::Test {
  protected:
    QueryRunTest() {
        resolver->Add("www.example.test", {"www.example.test", {{127, 0, 0, 1}}});
        resolver->Add("silent.test", {"silent.test", {{127, 0, 0, 2}}});
        resolver->Add("closing.test", {"closing.test", {{127, 0, 0, 3}}});
        folder.Write("settings.ini", "[general]\r\nip_nei=2\r\n");
        connection.whoisServer = {"127.0.0.1", whois.Port()};
    }

    std::unique_ptr<QueryRun> Run(const std::string& host, QueryRun* earlier = nullptr) {
        auto run = std::make_unique<QueryRun>(
            "http://" + host + ":" + std::to_string(web.Port()) + "/", recorder.Views(),
            QueryServices{
                pump.Handoff(), resolver,
                WhoisServices::WithCacheIn(folder.File("cache"), std::make_shared<SystemClock>()),
                dns},
            connection, SettingsStore(folder.File("settings.ini")));
        run->Start(earlier);
        return run;
    }

    const QueryReport& Report() const { return recorder.Report(); }

    test::TemporaryFolder folder;
    std::shared_ptr<BatchCountingResolver> resolver = std::make_shared<BatchCountingResolver>();
    std::shared_ptr<test::RefusingDns> dns = std::make_shared<test::RefusingDns>();
    test::RecordingServer whois{"\r\n", test::ScriptedWhoisReply};
    test::LoopbackServer web{[](test::ServerConnection& peer) {
        peer.ReadUntil("\r\n\r\n");
        peer.Send("HTTP/1.1 200 OK\r\nServer: Test/1.0\r\n\r\n");
    }};
    ConnectionSettings connection;
    UiHandoffPump pump;
    ReportRecorder recorder;
};

TEST_F(QueryRunTest, TheHostIsLookedUpOnceForEveryWorker) {
    const auto run = Run("www.example.test");
    ASSERT_TRUE(test::PumpUntil([&] { return run->Finished(); }));
    EXPECT_EQ(resolver->AskedNames(), Lines{"www.example.test"});
    EXPECT_EQ(resolver->batches, 1) << "the scan's reverse look-ups reach the resolver's own";
    EXPECT_EQ(Report().generalInfo.addresses.value, Lines{"127.0.0.1"});
    EXPECT_EQ(Report().generalInfo.serverType.value, "Test/1.0");
    EXPECT_EQ(Report().neighbourhood.items.size(), 3U);
}

TEST_F(QueryRunTest, TheStoppableWorkersEndDoneOrFailedWithTheReason) {
    const struct {
        const char* host;
        RunState whois;
        const char* whoisFailure;
        RunState scan;
        const char* scanFailure;
    } cases[] = {
        {"www.example.test", RunState::Done, "", RunState::Done, ""},
        {"closing.test", RunState::Failed, "Connection closed without a reply.", RunState::Done,
         ""},
        {"nowhere.test", RunState::Done, "", RunState::Failed, "Host not found."},
    };
    for (const auto& c : cases) {
        const auto run = Run(c.host);
        EXPECT_EQ(Report().whois.state, RunState::Running);
        EXPECT_EQ(Report().neighbourhood.state, RunState::Running);
        ASSERT_TRUE(test::PumpUntil([&] { return run->Finished(); })) << c.host;
        EXPECT_EQ(Report().whois.state, c.whois) << c.host;
        EXPECT_EQ(Report().whois.failure, c.whoisFailure) << c.host;
        EXPECT_EQ(Report().neighbourhood.state, c.scan) << c.host;
        EXPECT_EQ(Report().neighbourhood.failure, c.scanFailure) << c.host;
    }
}

TEST_F(QueryRunTest, AStopEndsOnlyItsWorkerAndNothingOfItReachesThePageAfterwards) {
    auto lookups = std::make_shared<test::Gate>();
    resolver->HoldLookupsAt(lookups);
    const auto run = Run("silent.test");
    ASSERT_TRUE(test::PumpUntil([&] { return whois.Requests().size() == 1; }));
    run->StopWhois();
    EXPECT_EQ(Report().whois.state, RunState::Stopped);
    EXPECT_TRUE(test::PumpUntil([&] { return whois.ClientCloses() == 1; }));
    EXPECT_TRUE(run->ScanRunning());
    run->StopScan();
    EXPECT_EQ(Report().neighbourhood.state, RunState::Stopped);
    run->StopScan();  // no longer running: nothing changes
    EXPECT_EQ(Report().neighbourhood.state, RunState::Stopped);

    lookups->Open();
    ASSERT_TRUE(test::PumpUntil([&] { return run->Finished(); }));
    EXPECT_EQ(Report().generalInfo.addresses.value, Lines{"127.0.0.2"});
    EXPECT_TRUE(Report().neighbourhood.items.empty());
    EXPECT_EQ(Report().neighbourhood.state, RunState::Stopped);
}

TEST_F(QueryRunTest, ANewerRunCutsTheOlderOneOff) {
    auto lookups = std::make_shared<test::Gate>();
    resolver->HoldLookupsAt(lookups);
    const auto older = Run("silent.test");
    ASSERT_TRUE(test::PumpUntil([&] { return whois.Requests().size() == 1; }));
    const auto newer = Run("www.example.test", older.get());
    EXPECT_TRUE(test::PumpUntil([&] { return whois.ClientCloses() == 1; }));
    EXPECT_FALSE(older->WhoisRunning());
    EXPECT_FALSE(older->ScanRunning());
    EXPECT_EQ(Report().whois.state, RunState::Running);

    lookups->Open();
    ASSERT_TRUE(test::PumpUntil([&] { return newer->Finished(); }));
    test::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(Report().generalInfo.addresses.value, Lines{"127.0.0.1"});
    EXPECT_EQ(Report().generalInfo.hostName.value, "www.example.test");
    EXPECT_EQ(Report().whois.state, RunState::Done);
}

}  // namespace
}  // namespace hostlore
