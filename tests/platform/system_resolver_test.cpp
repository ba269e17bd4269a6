#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "dns/test_dns.h"
#include "platform/resolver.h"
#include "support/event_pump.h"
#include "support/process_counts.h"

namespace hostlore {
namespace {

std::vector<std::string> Dotted(const HostEntry& entry) {
    std::vector<std::string> texts;
    for (const auto& address : entry.addresses) {
        texts.push_back(DottedAddress(address));
    }
    return texts;
}

std::vector<std::string> Ipv6Texts(const HostEntry& entry) {
    std::vector<std::string> texts;
    for (const auto& address : entry.ipv6Addresses) {
        texts.push_back(Ipv6Text(address));
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

class SystemResolverTest : public test::TestDns {
  protected:
    SystemResolver resolver;
};

using Names = std::map<std::string, std::optional<std::string>>;

// A batch's answers, by dotted address.
class Answers {
  public:
    ReverseAnswer For(const Ipv4Address& address) {
        return [this, dotted = DottedAddress(address)](std::optional<std::string> name) {
            std::lock_guard lock(mutex_);
            names_[dotted] = std::move(name);
            arrived_.notify_all();
        };
    }
    // The answers once `count` are there, or those there after `seconds`.
    Names Wait(std::size_t count, int seconds = 10) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(seconds),
                          [&] { return names_.size() >= count; });
        return names_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    Names names_;
};

// An address whose reverse question goes to the silent name server. The test
// DNS server joins a question to one of the same name still unanswered, so
// each test asks for addresses of its own.
Ipv4Address Silent(int last) {
    return {198, 18, 0, static_cast<std::uint8_t>(last)};
}

TEST_F(SystemResolverTest, FindsEveryAddressOfAName) {
    const HostLookup lookup = resolver.LookupName("three.example.test");
    ASSERT_TRUE(lookup.entry);
    auto addresses = Dotted(*lookup.entry);
    std::sort(addresses.begin(), addresses.end());
    EXPECT_EQ(addresses, (std::vector<std::string>{"12.1.1.1", "193.200.1.1", "62.0.0.1"}));
    EXPECT_EQ(lookup.entry->officialName, "three.example.test");
}

TEST_F(SystemResolverTest, GivesTheCanonicalNameOfAnAlias) {
    const HostLookup lookup = resolver.LookupName("alias.example.test");
    ASSERT_TRUE(lookup.entry);
    EXPECT_EQ(lookup.entry->officialName, "www.example.test");
    EXPECT_EQ(Dotted(*lookup.entry), std::vector<std::string>{"192.0.2.10"});
}

TEST_F(SystemResolverTest, FindsBothFamiliesInOneLookUp) {
    using Texts = std::vector<std::string>;
    const struct {
        const char* name;
        const char* officialName;
        Texts ipv4;
        Texts ipv6;
    } cases[] = {
        {"dual.example.test", "dual.example.test", {"192.0.2.20"}, {"2001:db8::20"}},
        {"v6only.example.test", "v6only.example.test", {}, {"2001:db8::30", "2001:db8::31"}},
        {"www.xn--bcher-kva.example.test",
         "xn--bcher-kva.example.test",
         {"192.0.2.40"},
         {"2001:db8::40"}},
        {"2001:db8:0::10", "2001:db8:0::10", {}, {"2001:db8::10"}},
        {"www.example.test", "www.example.test", {"192.0.2.10"}, {}},
    };
    for (const auto& [name, officialName, ipv4, ipv6] : cases) {
        const HostLookup lookup = resolver.LookupName(name);
        ASSERT_TRUE(lookup.entry) << name;
        EXPECT_EQ(lookup.entry->officialName, officialName);
        EXPECT_EQ(Dotted(*lookup.entry), ipv4) << name;
        EXPECT_EQ(Ipv6Texts(*lookup.entry), ipv6) << name;
    }
}

// The test block 2001:db8::/64 is local in the namespace: the resolver ranks
// its addresses before IPv4 ones, as it does on a machine with IPv6 routes.
TEST_F(SystemResolverTest, TellsWhichFamilyTheResolverRanksFirst) {
    EXPECT_TRUE(resolver.LookupName("dual.example.test").entry->ipv6First);
    EXPECT_FALSE(resolver.LookupName("www.example.test").entry->ipv6First);
}

TEST_F(SystemResolverTest, ReportsAnUnknownNameAsHostNotFound) {
    const HostLookup lookup = resolver.LookupName("nowhere.example.test");
    EXPECT_FALSE(lookup.entry);
    EXPECT_EQ(lookup.errorCode, 11001);
}

TEST_F(SystemResolverTest, ADottedAddressNeedsNoServerAndNamesItself) {
    const HostLookup lookup = resolver.LookupName("203.0.113.5");
    ASSERT_TRUE(lookup.entry);
    EXPECT_EQ(lookup.entry->officialName, "203.0.113.5");
    EXPECT_EQ(Dotted(*lookup.entry), std::vector<std::string>{"203.0.113.5"});
}

TEST_F(SystemResolverTest, NamesAddressesByReverseLookUp) {
    const std::pair<Ipv4Address, const char*> cases[] = {
        {{198, 51, 100, 7}, "seven.example.test"},
        {{198, 51, 100, 8}, "host-198-51-100-8.example.test"},
        {{198, 51, 100, 255}, "host-198-51-100-255.example.test"},
        {{192, 0, 2, 10}, "www.example.test"},
    };
    for (const auto& [address, name] : cases) {
        const HostLookup lookup = resolver.LookupAddress(address);
        ASSERT_TRUE(lookup.entry) << name;
        EXPECT_EQ(lookup.entry->officialName, name);
    }
    EXPECT_FALSE(resolver.LookupAddress({203, 0, 113, 9}).entry);
}

TEST_F(SystemResolverTest, ReverseBatchesAskTheHostsFileAndThenTheNameServer) {
    const std::pair<Ipv4Address, std::optional<std::string>> cases[] = {
        {{198, 51, 100, 7}, "seven.example.test"},
        {{198, 51, 100, 8}, "host-198-51-100-8.example.test"},
        {{203, 0, 113, 77}, "hosts-file.example.test"},  // the name server does not know it
        {{203, 0, 113, 9}, std::nullopt},
    };
    Answers answers;
    const auto batch = resolver.NewReverseLookups();
    Names expected;
    for (const auto& [address, name] : cases) {
        batch->Start(address, answers.For(address));
        expected[DottedAddress(address)] = name;
    }
    EXPECT_EQ(answers.Wait(expected.size()), expected);
}

TEST_F(SystemResolverTest, ASilentNameServerCostsTheTimeOutsOfResolvConf) {
    // timeout:1 attempts:2, each attempt waiting twice as long as the one before;
    // the library's own defaults would take over a minute.
    test::SilentNameServer silent;
    Answers answers;
    QElapsedTimer clock;
    clock.start();
    const auto batch = resolver.NewReverseLookups();
    batch->Start(Silent(250), answers.For(Silent(250)));
    EXPECT_EQ(answers.Wait(1), (Names{{"198.18.0.250", std::nullopt}}));
    EXPECT_GE(clock.elapsed(), 2500);
    EXPECT_LE(clock.elapsed(), 6000);
}

TEST_F(SystemResolverTest, NoMoreThanSixtyFourReverseLookUpsAreInFlightAtOnce) {
    test::SilentNameServer silent;
    Answers answers;
    const auto batch = resolver.NewReverseLookups();
    for (int last = 0; last < 100; ++last) {
        batch->Start(Silent(last), answers.For(Silent(last)));
    }
    ASSERT_TRUE(test::PumpUntil([&] { return silent.Received() >= 64; }, 900));
    test::PumpUntil([] { return false; }, 200);  // before the first retry, after 1 s
    EXPECT_EQ(silent.Received(), 64);
    EXPECT_EQ(resolver.PeakReverseLookupsInFlight(), 64u);
}

TEST_F(SystemResolverTest, DroppingABatchEndsItsLookUpsAndClosesTheirSocketsAtOnce) {
    test::SilentNameServer silent;
    {
        // The resolver's thread runs from the first batch on; the hosts file
        // answers this one without a socket.
        Answers warmUp;
        const auto first = resolver.NewReverseLookups();
        first->Start({203, 0, 113, 77}, warmUp.For({203, 0, 113, 77}));
        ASSERT_EQ(warmUp.Wait(1).size(), 1u);
    }
    const int threads = test::ThreadCount();
    const int descriptors = test::OpenDescriptorCount();

    Answers answers;
    auto batch = resolver.NewReverseLookups();
    for (int last = 200; last < 210; ++last) {
        batch->Start(Silent(last), answers.For(Silent(last)));
    }
    ASSERT_TRUE(test::PumpUntil([&] { return silent.Received() == 10; }, 900));
    EXPECT_GT(test::OpenDescriptorCount(), descriptors);
    batch.reset();
    // Look-up threads that earlier tests left may end meanwhile; nothing of
    // the batch may remain.
    EXPECT_TRUE(test::PumpUntil(
        [&] {
            return test::ThreadCount() <= threads && test::OpenDescriptorCount() <= descriptors;
        },
        100));
}

TEST_F(SystemResolverTest, ServesManyThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (std::size_t t = 0; t < failures.size(); ++t) {
        threads.emplace_back([&failures, t] {
            SystemResolver own;
            for (int i = 10; i < 35; ++i) {
                const auto forward = own.LookupName("www.example.test");
                const auto reverse =
                    own.LookupAddress({198, 51, 100, static_cast<std::uint8_t>(i)});
                const bool ok = forward.entry && forward.entry->addresses.size() == 1 &&
                                reverse.entry &&
                                reverse.entry->officialName ==
                                    "host-198-51-100-" + std::to_string(i) + ".example.test";
                failures[t] += ok ? 0 : 1;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace hostlore
