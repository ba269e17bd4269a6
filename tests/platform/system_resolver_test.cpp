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
