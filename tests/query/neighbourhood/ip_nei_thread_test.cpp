#include "query/neighbourhood/ip_nei_thread.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <map>
#include <system_error>
#include <thread>

#include "support/fake_views.h"
#include "support/gate.h"
#include "support/pooled_reverse_lookups.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

using Items = std::vector<std::string>;

// Reverse look-ups that can never start.
class UnstartableLookUps : public ReverseLookups {
  public:
    void Start(const Ipv4Address&, ReverseAnswer) override {
        throw std::system_error(EAGAIN, std::generic_category(), "no thread");
    }
};

// Knows the names of some addresses; each reverse answer takes `delay`, and
// the answers of `held` addresses wait at a gate. The look-up machinery can
// fail to start for the whole batch or for each look-up.
class ReverseResolver : public Resolver {
  public:
    enum class StartFailure { None, Batch, EachLookUp };

    std::unique_ptr<ReverseLookups> NewReverseLookups() override {
        switch (startFailure) {
            case StartFailure::Batch:
                throw std::system_error(EMFILE, std::generic_category(), "no descriptor");
            case StartFailure::EachLookUp:
                return std::make_unique<UnstartableLookUps>();
            case StartFailure::None:
                break;
        }
        return test::PooledReverseLookups(*this);
    }
    HostLookup LookupName(const std::string& name) override {
        if (const auto found = forward.find(name); found != forward.end()) {
            return {HostEntry{name, {found->second}}, 0};
        }
        if (const auto ipv6 = Ipv6AddressOf(name)) {
            return {HostEntry{name, {}, {*ipv6}, true}, 0};
        }
        return {std::nullopt, 11001};
    }
    HostLookup LookupAddress(const Ipv4Address& address) override {
        ++asked;
        std::this_thread::sleep_for(delay);
        if (address == held) {
            gate->Wait();
        }
        if (const auto found = reverse.find(DottedAddress(address)); found != reverse.end()) {
            return {HostEntry{found->second, {address}}, 0};
        }
        if (DottedAddress(address) == "192.0.2.13") {
            throw std::runtime_error("resolver failure");
        }
        return {std::nullopt, 11004};
    }

    std::map<std::string, Ipv4Address> forward{{"www.example.test", {192, 0, 2, 10}},
                                               {"top.example.test", {255, 255, 255, 253}},
                                               {"low.example.test", {0, 0, 0, 5}}};
    std::map<std::string, std::string> reverse{{"192.0.2.8", "eight.example.test"},
                                               {"192.0.2.10", "www.example.test"},
                                               {"192.0.2.11", "eleven.example.test"}};
    std::chrono::milliseconds delay{0};
    Ipv4Address held{};
    std::shared_ptr<test::Gate> gate = std::make_shared<test::Gate>();
    std::atomic<int> asked{0};
    StartFailure startFailure = StartFailure::None;
};

class IpNeiThreadTest : public ::testing::Test {
  protected:
    void SetUp() override { resolver->gate->Open(); }

    std::shared_ptr<ip_nei_thread> Scan(const std::string& neighbours,
                                        const std::string& url = "http://www.example.test/") {
        folder.Write("settings.ini", "[general]\r\nip_nei=" + neighbours + "\r\n");
        return run.Start<ip_nei_thread>(url, page, SettingsStore(folder.File("settings.ini")),
                                        resolver);
    }

    test::TemporaryFolder folder;
    std::shared_ptr<ReverseResolver> resolver = std::make_shared<ReverseResolver>();
    test::RecordingNeighbourhood page;
    test::WorkerRun run;
};

TEST_F(IpNeiThreadTest, ListsEachNeighbourWithItsNameOrX) {
    Scan("4");
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_EQ(page.items, (Items{"192.0.2.8    eight.example.test", "192.0.2.9    X",
                                 "192.0.2.10    www.example.test",
                                 "192.0.2.11    eleven.example.test", "192.0.2.12    X"}));
}

TEST_F(IpNeiThreadTest, AFailingLookUpCountsAsNoName) {
    Scan("8");
    ASSERT_TRUE(run.WaitForEnd());
    ASSERT_EQ(page.items.size(), 9u);
    EXPECT_EQ(page.items[7], "192.0.2.13    X");
}

TEST_F(IpNeiThreadTest, LookUpsThatCannotStartCountAsNoNameAndTheScanEnds) {
    for (const auto failure :
         {ReverseResolver::StartFailure::Batch, ReverseResolver::StartFailure::EachLookUp}) {
        resolver->startFailure = failure;
        test::WorkerRun each;
        folder.Write("settings.ini", "[general]\r\nip_nei=2\r\n");
        each.Start<ip_nei_thread>("http://www.example.test/", page,
                                  SettingsStore(folder.File("settings.ini")), resolver);
        ASSERT_TRUE(each.WaitForEnd()) << static_cast<int>(failure);
        EXPECT_EQ(page.items, (Items{"192.0.2.9    X", "192.0.2.10    X", "192.0.2.11    X"}))
            << static_cast<int>(failure);
    }
}

TEST_F(IpNeiThreadTest, AScanThatCannotStartKeepsOrClearsTheListAndSaysWhy) {
    const Items earlier = {"192.0.2.1    old.example.test"};
    const struct {
        const char* neighbours;
        const char* url;
        Items items;
        const char* failure;
        const char* notScanned;
    } cases[] = {
        // Another host's neighbours must not stand under a host that does not exist.
        {"20", "http://nowhere.example.test/", {}, "Host not found.", ""},
        {"twenty", "http://www.example.test/", earlier, "none", ""},  // not an integer
        {"20", "http://low.example.test/", earlier, "none", ""},  // the start lies below 0.0.0.0
        {"20", "http://[2001:db8::10]/", {}, "none", "No IPv4 address to scan around"},
    };
    for (const auto& c : cases) {
        page.items = earlier;
        page.notScanned.clear();
        test::WorkerRun each;
        folder.Write("settings.ini", std::string("[general]\r\nip_nei=") + c.neighbours + "\r\n");
        const auto scan = each.Start<ip_nei_thread>(
            c.url, page, SettingsStore(folder.File("settings.ini")), resolver);
        ASSERT_TRUE(each.WaitForEnd()) << c.url;
        EXPECT_EQ(page.items, c.items) << c.neighbours << ' ' << c.url;
        EXPECT_EQ(page.notScanned, c.notScanned) << c.url;
        EXPECT_EQ(scan->Failure().value_or("none"), c.failure) << c.url;
    }
}

TEST_F(IpNeiThreadTest, ANegativeCountLeavesAnEmptyListAndAnEmptyOneMeansTwenty) {
    page.items = {"192.0.2.1    old.example.test"};
    Scan("-2");
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_TRUE(page.items.empty());
    EXPECT_EQ(page.cleared, 1);

    test::WorkerRun again;
    folder.Write("settings.ini", "[general]\r\nip_nei=\r\n");
    again.Start<ip_nei_thread>("http://www.example.test/", page,
                               SettingsStore(folder.File("settings.ini")), resolver);
    ASSERT_TRUE(again.WaitForEnd());
    ASSERT_EQ(page.items.size(), 21u);
    EXPECT_EQ(page.items.front(), "192.0.2.0    X");
    EXPECT_EQ(page.items[10], "192.0.2.10    www.example.test");
}

TEST_F(IpNeiThreadTest, StopsAfterTheLastAddress) {
    Scan("20", "http://top.example.test/");
    ASSERT_TRUE(run.WaitForEnd());
    ASSERT_EQ(page.items.size(), 13u);
    EXPECT_EQ(page.items.front(), "255.255.255.243    X");
    EXPECT_EQ(page.items.back(), "255.255.255.255    X");
}

TEST_F(IpNeiThreadTest, LooksUpAheadSoSlowAnswersOverlap) {
    resolver->delay = std::chrono::milliseconds(100);
    QElapsedTimer clock;
    clock.start();
    Scan("20");
    ASSERT_TRUE(run.WaitForEnd());
    // One after another they would take 2.1 s.
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(page.items.size(), 21u);
    EXPECT_EQ(page.items[10], "192.0.2.10    www.example.test");
}

TEST_F(IpNeiThreadTest, OnlyTheNewestItemIsBareWhileAnAnswerIsAwaited) {
    resolver->gate = std::make_shared<test::Gate>();
    resolver->held = {192, 0, 2, 9};
    Scan("4");
    ASSERT_TRUE(test::PumpUntil([&] { return page.items.size() == 2; }));
    test::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(page.items, (Items{"192.0.2.8    eight.example.test", "192.0.2.9"}));
    resolver->gate->Open();
    ASSERT_TRUE(run.WaitForEnd());
    EXPECT_EQ(page.items.size(), 5u);
}

TEST_F(IpNeiThreadTest, AStoppedScanChangesNothingMoreAndAbandonsItsLookUps) {
    resolver->gate = std::make_shared<test::Gate>();
    resolver->held = {192, 0, 0, 23};  // the second of 1001, from 192.0.0.22 on
    std::weak_ptr<TThread> worker = Scan("1000");
    ASSERT_TRUE(test::PumpUntil([&] { return page.items.size() == 2; }));
    if (const auto running = worker.lock()) {
        running->Terminate();
    }
    resolver->gate->Open();
    ASSERT_TRUE(test::PumpUntil([&] { return worker.expired(); }));
    EXPECT_EQ(page.items, (Items{"192.0.0.22    X", "192.0.0.23"}));
    // The look-ups never ran far ahead of the list.
    EXPECT_LT(resolver->asked.load(), 200);
}

}  // namespace
}  // namespace hostlore
