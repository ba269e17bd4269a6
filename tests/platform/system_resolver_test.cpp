#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "dns/test_dns.h"
#include "platform/resolver.h"

namespace hostlore {
namespace {

std::vector<std::string> Dotted(const HostEntry& entry) {
    std::vector<std::string> texts;
    for (const auto& address : entry.addresses) {
        texts.push_back(DottedAddress(address));
    }
    return texts;
}

class SystemResolverTest : public test::TestDns {
  protected:
    SystemResolver resolver;
};

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
