#include "localinfo/linux_network_configuration.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <sstream>

namespace hostlore {
namespace {

std::string MaskOfPrefix(int prefix) {
    in_addr mask{};
    mask.s_addr = prefix == 0 ? 0 : htonl(~((1u << (32 - prefix)) - 1));
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &mask, text, sizeof(text));
    return text;
}

// Interface name to "address mask" pairs, as "ip -o -4 addr show" lists them.
std::multimap<std::string, std::string> AddressesTheIpToolSees() {
    std::multimap<std::string, std::string> addresses;
    FILE* pipe = ::popen("ip -o -4 addr show 2>/dev/null", "r");
    if (pipe == nullptr) {
        return addresses;
    }
    char line[1024];
    while (std::fgets(line, sizeof(line), pipe) != nullptr) {
        std::istringstream words(line);
        std::string index, name, family, cidr;
        words >> index >> name >> family >> cidr;
        const auto slash = cidr.find('/');
        addresses.emplace(
            name, cidr.substr(0, slash) + " " + MaskOfPrefix(std::stoi(cidr.substr(slash + 1))));
    }
    ::pclose(pipe);
    return addresses;
}

TEST(LinuxNetworkConfiguration, NamesThisMachine) {
    char hostName[256] = {};
    ASSERT_EQ(::gethostname(hostName, sizeof(hostName)), 0);
    LinuxNetworkConfiguration machine;
    const NetworkParameters parameters = machine.GetNetworkParams();
    EXPECT_EQ(parameters.HostName, hostName);
    EXPECT_EQ(parameters.CurrentDnsServer.has_value(), !parameters.DnsServerList.empty());
    EXPECT_TRUE(parameters.EnableRouting == 0 || parameters.EnableRouting == 1);
}

TEST(LinuxNetworkConfiguration, ReportsTheAddressesTheIpToolShows) {
    const auto expected = AddressesTheIpToolSees();
    if (expected.empty()) {
        GTEST_SKIP() << "the ip tool is not installed";
    }
    LinuxNetworkConfiguration machine;
    const auto adapters = machine.GetAdaptersInfo();
    std::multimap<std::string, std::string> reported;
    int previousIndex = 0;
    for (const auto& adapter : adapters) {
        EXPECT_GT(adapter.Index, previousIndex) << "in interface index order";
        previousIndex = adapter.Index;
        for (const auto& entry : adapter.IpAddressList) {
            reported.emplace(adapter.AdapterName, entry.IpAddress + " " + entry.IpMask);
        }
        if (adapter.AdapterName == "lo") {
            EXPECT_EQ(adapter.Type, 772);
            ASSERT_TRUE(adapter.CurrentIpAddress);
            EXPECT_EQ(adapter.CurrentIpAddress->IpAddress, "127.0.0.1");
        }
    }
    EXPECT_EQ(reported, expected);
}

}  // namespace
}  // namespace hostlore
