#include <gtest/gtest.h>

#include "platform/resolver.h"

namespace hostlore {
namespace {

TEST(Ipv6TextTest, WritesTheCompressedFormOfRfc5952) {
    const std::pair<const char*, const char*> cases[] = {
        {"2001:0db8:0000:0000:0000:0000:0000:0001", "2001:db8::1"},
        {"2001:DB8:0:0:1:0:0:1", "2001:db8::1:0:0:1"},
        {"2001:db8:0:0:1:0:0:0", "2001:db8:0:0:1::"},
        {"2001:db8:0:1:1:1:1:1", "2001:db8:0:1:1:1:1:1"},
        {"0:0:0:0:0:0:0:0", "::"},
        {"0:0:0:0:0:0:0:1", "::1"},
        {"1:0:0:0:0:0:0:0", "1::"},
        {"0:0:0:0:0:ffff:c000:0201", "::ffff:192.0.2.1"},
        {"0:0:0:0:0:0:c000:0201", "::c000:201"},
        {"fe80:0:0:0:0a00:27ff:fe4e:66a1", "fe80::a00:27ff:fe4e:66a1"},
    };
    for (const auto& [written, expected] : cases) {
        const auto address = Ipv6AddressOf(written);
        ASSERT_TRUE(address) << written;
        EXPECT_EQ(Ipv6Text(*address), expected) << written;
    }
}

TEST(Ipv6TextTest, ReadsOnlyWholeAddresses) {
    const std::string cases[] = {
        "",          "2001:db8::1::2",          "2001:db8::g", "[2001:db8::1]",
        "192.0.2.1", std::string("::1\0::2", 7)};
    for (const auto& text : cases) {
        EXPECT_FALSE(Ipv6AddressOf(text)) << text;
    }
}

}  // namespace
}  // namespace hostlore
