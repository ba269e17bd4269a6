#include "localinfo/dhcp_leases.h"

#include <gtest/gtest.h>

namespace hostlore {
namespace {

constexpr const char* kDhclientLeases = R"(lease {
  interface "eth0";
  fixed-address 192.0.2.7;
  option dhcp-lease-time 3600;
  option dhcp-server-identifier 192.0.2.1;
  expire 3 2023/01/04 10:00:00;
}
lease {
  interface "wlan0";
  fixed-address 198.51.100.9;
  option dhcp-server-identifier 198.51.100.1;
  option netbios-name-servers 198.51.100.2, 198.51.100.3;
  option dhcp-lease-time 86400;
  expire epoch 1672833600; # Wed Jan  4 12:00:00 2023
}
lease {
  interface "eth0";
  fixed-address 192.0.2.8;
  option dhcp-lease-time 7200;
  option dhcp-server-identifier 192.0.2.2;
  expire 3 2023/01/04 12:00:00;
}
)";

TEST(ParseDhclientLeases, TakesTheLastLeaseOfTheInterface) {
    const auto eth0 = ParseDhclientLeases(kDhclientLeases, "eth0");
    ASSERT_TRUE(eth0);
    EXPECT_EQ(eth0->server, "192.0.2.2");
    EXPECT_EQ(eth0->expires, 1672833600);
    EXPECT_EQ(eth0->obtained, 1672833600 - 7200);
    EXPECT_TRUE(eth0->winsServers.empty());

    const auto wlan0 = ParseDhclientLeases(kDhclientLeases, "wlan0");
    ASSERT_TRUE(wlan0);
    EXPECT_EQ(wlan0->expires, 1672833600);
    EXPECT_EQ(wlan0->obtained, 1672833600 - 86400);
    EXPECT_EQ(wlan0->winsServers, (std::vector<std::string>{"198.51.100.2", "198.51.100.3"}));

    EXPECT_FALSE(ParseDhclientLeases(kDhclientLeases, "eth1"));
    EXPECT_FALSE(ParseDhclientLeases("", "eth0"));
}

TEST(ParseNetworkdLease, CountsTheLifetimeFromWhenTheLeaseWasWritten) {
    const auto lease = ParseNetworkdLease(
        "# This is private data. Do not parse.\nADDRESS=192.0.2.7\nSERVER_ADDRESS=192.0.2.1\n"
        "LIFETIME=86400\n",
        1672747200);
    ASSERT_TRUE(lease);
    EXPECT_EQ(lease->server, "192.0.2.1");
    EXPECT_EQ(lease->obtained, 1672747200);
    EXPECT_EQ(lease->expires, 1672747200 + 86400);
    EXPECT_FALSE(ParseNetworkdLease("", 1));
}

TEST(ParseNetworkdLease, IgnoresALifetimeNoClockCanReach) {
    for (const char* lifetime :
         {"9223372036854775807", "-9223372036854775808", "-5", "99999999999999999999", "12x"}) {
        const auto lease = ParseNetworkdLease(
            "SERVER_ADDRESS=192.0.2.1\nLIFETIME=" + std::string(lifetime) + "\n", 1672747200);
        ASSERT_TRUE(lease) << lifetime;
        EXPECT_EQ(lease->expires, 0) << lifetime;
        EXPECT_EQ(lease->server, "192.0.2.1") << lifetime;
    }
}

}  // namespace
}  // namespace hostlore
