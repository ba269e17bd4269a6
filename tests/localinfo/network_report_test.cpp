#include "localinfo/network_report.h"

#include <gtest/gtest.h>

#include "support/scoped_environment.h"

namespace hostlore {
namespace {

AdapterInfo Adapter(int index, std::vector<AddressEntry> addresses) {
    AdapterInfo adapter;
    adapter.ComboIndex = adapter.Index = index;
    adapter.AdapterName = "eth" + std::to_string(index);
    adapter.Description = "virtio_net";
    adapter.Address = {0x52, 0x54, 0x00, 0x12, 0x34, 0xAB};
    adapter.Type = 1;
    adapter.IpAddressList = std::move(addresses);
    if (!adapter.IpAddressList.empty()) {
        adapter.CurrentIpAddress = adapter.IpAddressList.front();
    }
    return adapter;
}

class NetworkReportTest : public ::testing::Test {
  protected:
    test::ScopedEnvironment zone{"TZ", "JST-9"};
    test::ScopedEnvironment allLocale{"LC_ALL", ""};
    test::ScopedEnvironment timeLocale{"LC_TIME", "C"};
};

TEST_F(NetworkReportTest, ListsTheParametersWithNumberedDnsServers) {
    NetworkParameters parameters;
    parameters.HostName = "box";
    parameters.DomainName = "example.test";
    parameters.DnsServerList = {{"192.0.2.53", ""}, {"192.0.2.54", ""}};
    parameters.CurrentDnsServer = parameters.DnsServerList.front();
    parameters.EnableRouting = 1;
    parameters.EnableDns = 1;
    parameters.EnableProxy = -2;
    EXPECT_EQ(NetworkParameterLines(parameters),
              (std::vector<std::string>{"Host name: box", "Domain name: example.test",
                                        "Current DNS Server: 192.0.2.53", "DNS 1: 192.0.2.53",
                                        "DNS 2: 192.0.2.54", "Scope ID: ", "Routing: 1",
                                        "Proxy: -2", "DNS: 1"}));
}

TEST_F(NetworkReportTest, AMachineWithoutDnsStillHasItsFirstDnsLine) {
    const auto lines = NetworkParameterLines(NetworkParameters{});
    EXPECT_EQ(lines[2], "Current DNS Server: (none)");
    EXPECT_EQ(lines[3], "DNS 1: ");
    EXPECT_EQ(lines[4], "Scope ID: ");
    EXPECT_EQ(lines.size(), 8u);
}

TEST_F(NetworkReportTest, WritesEighteenLinesPerAdapter) {
    const auto lines =
        AdapterLines({Adapter(2, {{"10.0.0.2", "255.0.0.0"}, {"10.1.0.3", "255.255.0.0"}})});
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Adapter 1", "   ComboIndex: 2", "   Adapter name: eth2",
                         "   Description: virtio_net", "   Adapter address: 52-54-00-12-34-AB",
                         "   Index: 2", "   Type: 1", "   DHCP: 0",
                         "   Current IP: A: 10.0.0.2 M: 255.0.0.0\r",
                         "   IP addresses: A: 10.0.0.2 M: 255.0.0.0\rA: 10.1.0.3 M: 255.255.0.0\r",
                         "   Gateways: A:  M: \r", "   DHCP servers: A:  M: \r", "   Has WINS: 0",
                         "   Primary WINS: A:  M: \r", "   Secondary WINS: A:  M: \r",
                         "   Lease obtained: ", "   Lease expires: ", ""}));
}

TEST_F(NetworkReportTest, ListsIpv6AddressesAndGatewaysAfterTheirIpv4Lines) {
    AdapterInfo adapter = Adapter(2, {{"10.0.0.2", "255.0.0.0"}});
    adapter.GatewayList = {{"10.0.0.1", ""}};
    adapter.Ipv6AddressList = {{"2001:db8::2", 64}, {"fe80::5054:ff:fe12:34ab", 64}};
    adapter.Ipv6DefaultGateways = {"fe80::1"};
    const auto lines = AdapterLines({adapter});
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 9, lines.begin() + 15),
              (std::vector<std::string>{
                  "   IP addresses: A: 10.0.0.2 M: 255.0.0.0\r", "   IPv6 address: 2001:db8::2/64",
                  "   IPv6 address: fe80::5054:ff:fe12:34ab/64", "   Gateways: A: 10.0.0.1 M: \r",
                  "   IPv6 default gateway: fe80::1", "   DHCP servers: A:  M: \r"}));
}

TEST_F(NetworkReportTest, AnAdapterWithoutAddressesOrHardwareShowsEmptyFields) {
    AdapterInfo bare = Adapter(7, {});
    bare.Address.clear();
    bare.Type = -1;
    const auto lines = AdapterLines({bare});
    EXPECT_EQ(lines[4], "   Adapter address: ");
    EXPECT_EQ(lines[6], "   Type: -1");
    EXPECT_EQ(lines[8], "   Current IP: ");
    EXPECT_EQ(lines[9], "   IP addresses: A:  M: \r");
}

TEST_F(NetworkReportTest, ReportsEveryAdapterHoweverManyThereAre) {
    for (const std::size_t count : {3u, 12u, 40u}) {
        std::vector<AdapterInfo> adapters;
        for (std::size_t i = 0; i < count; ++i) {
            adapters.push_back(
                Adapter(static_cast<int>(i + 1), {{"10.0.0." + std::to_string(i), "255.0.0.0"}}));
        }
        const auto lines = AdapterLines(adapters);
        ASSERT_EQ(lines.size(), 18 * count);
        EXPECT_EQ(lines.back(), "");
        EXPECT_EQ(lines[18 * (count - 1)], "Adapter " + std::to_string(count));
    }
}

TEST_F(NetworkReportTest, ShowsLeaseTimesInLocalTimeWithTheZonesName) {
    AdapterInfo leased = Adapter(2, {{"192.0.2.7", "255.255.255.0"}});
    leased.DhcpEnabled = 1;
    leased.DhcpServer = {{"192.0.2.1", ""}};
    leased.LeaseObtained = 1672747200;  // 2023-01-03 12:00:00 UTC
    leased.LeaseExpires = 1672758000;   // 2023-01-03 15:00:00 UTC, midnight in Tokyo
    const auto lines = AdapterLines({leased});
    EXPECT_EQ(lines[7], "   DHCP: 1");
    EXPECT_EQ(lines[11], "   DHCP servers: A: 192.0.2.1 M: \r");
    EXPECT_EQ(lines[15], "   Lease obtained: 01/03/23 21:00:00 JST");
    EXPECT_EQ(lines[16], "   Lease expires: 01/04/23 JST") << "no time at midnight";
}

TEST_F(NetworkReportTest, FollowsTheUsersLocaleForLeaseTimes) {
    test::ScopedEnvironment german("LC_TIME", "de_DE.UTF-8");
    EXPECT_EQ(LeaseTimeText(1672747200), "03.01.2023 21:00:00 JST");
    EXPECT_EQ(LeaseTimeText(0), "");
}

}  // namespace
}  // namespace hostlore
