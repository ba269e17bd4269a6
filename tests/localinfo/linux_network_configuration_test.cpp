#include "localinfo/linux_network_configuration.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <map>
#include <sstream>

#include "support/temporary_folder.h"

namespace hostlore {
namespace {

std::string MaskOfPrefix(int prefix) {
    in_addr mask{};
    mask.s_addr = prefix == 0 ? 0 : htonl(~((1u << (32 - prefix)) - 1));
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &mask, text, sizeof(text));
    return text;
}

// Interface name to "address mask" pairs, as "ip -o -4 addr show" lists them,
// or to "address/prefix" for "ip -o -6 addr show".
std::multimap<std::string, std::string> AddressesTheIpToolSees(int family) {
    std::multimap<std::string, std::string> addresses;
    FILE* pipe = ::popen(
        family == 6 ? "ip -o -6 addr show 2>/dev/null" : "ip -o -4 addr show 2>/dev/null", "r");
    if (pipe == nullptr) {
        return addresses;
    }
    char line[1024];
    while (std::fgets(line, sizeof(line), pipe) != nullptr) {
        std::istringstream words(line);
        std::string index, name, familyName, cidr;
        words >> index >> name >> familyName >> cidr;
        const auto slash = cidr.find('/');
        addresses.emplace(name, family == 6 ? cidr
                                            : cidr.substr(0, slash) + " " +
                                                  MaskOfPrefix(std::stoi(cidr.substr(slash + 1))));
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

std::string ThisHostName() {
    char hostName[256] = {};
    ::gethostname(hostName, sizeof(hostName));
    return hostName;
}

std::string WithHostName(std::string text) {
    std::string upper = ThisHostName();
    for (auto& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    for (auto at = text.find("UPPERHOST"); at != std::string::npos; at = text.find("UPPERHOST")) {
        text.replace(at, 9, upper);
    }
    for (auto at = text.find("HOST"); at != std::string::npos; at = text.find("HOST", at)) {
        text.replace(at, 4, ThisHostName());
    }
    return text;
}

struct ResolverCase {
    const char* name;
    const char* hosts;  // HOST stands for this machine's name
    const char* resolv;
    const char* resolved;  // systemd-resolved's own file
    const char* domain;
    std::vector<std::string> servers;
};

// The parameters come from the machine's files alone, never from a query.
TEST(LinuxNetworkConfiguration, ReadsDomainAndServersFromTheResolverFiles) {
    const ResolverCase cases[] = {
        {"canonical name in hosts",
         "127.0.1.1 box.example.test HOST\n",
         "",
         "",
         "example.test",
         {}},
        {"first line that names the host",
         "# 127.0.1.1 x.commented.test HOST\n"
         "127.0.0.1 localhost\n127.0.1.1 HOST.first.test HOST # note\n"
         "127.0.1.2 HOST.second.test HOST\n",
         "",
         "",
         "first.test",
         {}},
        {"host name in other letter case",
         "127.0.1.1 box.case.test UPPERHOST\n",
         "",
         "",
         "case.test",
         {}},
        {"a line for another host",
         "127.0.1.1 other.elsewhere.test other\n",
         "search s.test\n",
         "",
         "s.test",
         {}},
        {"canonical name without a dot",
         "127.0.1.1 HOST\n",
         "domain resolv.test\n",
         "",
         "resolv.test",
         {}},
        {"domain before search",
         "",
         "search one.test two.test\ndomain named.test\n",
         "",
         "named.test",
         {}},
        {"first search entry", "", "search one.test two.test\n", "", "one.test", {}},
        {"nothing configured", "", "", "", "", {}},
        {"one server per line, comments after it ignored",
         "",
         "nameserver 192.0.2.1 # primary\nnameserver 192.0.2.2 ; second\n#nameserver 192.0.2.3\n",
         "",
         "",
         {"192.0.2.1", "192.0.2.2"}},
        {"a keyword without a server",
         "",
         "nameserver\nnameserver 192.0.2.4\n",
         "",
         "",
         {"192.0.2.4"}},
        {"the stub's own servers",
         "",
         "nameserver 127.0.0.53\n",
         "nameserver 192.0.2.9 # upstream\nnameserver 192.0.2.10\n",
         "",
         {"192.0.2.9", "192.0.2.10"}},
    };
    for (const auto& c : cases) {
        test::TemporaryFolder folder;
        folder.Write("hosts", WithHostName(c.hosts));
        folder.Write("resolv.conf", c.resolv);
        folder.Write("resolved.conf", c.resolved);
        folder.Write("nsswitch.conf", "hosts: files dns\n");
        LinuxNetworkConfiguration machine({folder.File("hosts"), folder.File("resolv.conf"),
                                           folder.File("resolved.conf"),
                                           folder.File("nsswitch.conf")});
        const NetworkParameters parameters = machine.GetNetworkParams();
        EXPECT_EQ(parameters.DomainName, c.domain) << c.name;
        std::vector<std::string> servers;
        for (const auto& server : parameters.DnsServerList) {
            servers.push_back(server.IpAddress);
        }
        EXPECT_EQ(servers, c.servers) << c.name;
        EXPECT_EQ(parameters.EnableDns, c.servers.empty() ? 0 : 1) << c.name;
    }
}

TEST(LinuxNetworkConfiguration, ReportsTheAddressesTheIpToolShows) {
    const auto expected = AddressesTheIpToolSees(4);
    if (expected.empty()) {
        GTEST_SKIP() << "the ip tool is not installed";
    }
    LinuxNetworkConfiguration machine;
    const auto adapters = machine.GetAdaptersInfo();
    std::multimap<std::string, std::string> reported;
    std::multimap<std::string, std::string> reportedIpv6;
    int previousIndex = 0;
    for (const auto& adapter : adapters) {
        EXPECT_GT(adapter.Index, previousIndex) << "in interface index order";
        previousIndex = adapter.Index;
        for (const auto& entry : adapter.IpAddressList) {
            reported.emplace(adapter.AdapterName, entry.IpAddress + " " + entry.IpMask);
        }
        for (const auto& entry : adapter.Ipv6AddressList) {
            reportedIpv6.emplace(adapter.AdapterName,
                                 entry.IpAddress + "/" + std::to_string(entry.PrefixLength));
        }
        if (adapter.AdapterName == "lo") {
            EXPECT_EQ(adapter.Type, 772);
            ASSERT_TRUE(adapter.CurrentIpAddress);
            EXPECT_EQ(adapter.CurrentIpAddress->IpAddress, "127.0.0.1");
        }
    }
    EXPECT_EQ(reported, expected);
    EXPECT_EQ(reportedIpv6, AddressesTheIpToolSees(6));
}

TEST(LinuxNetworkConfiguration, ReadsTheIpv6DefaultGatewaysFromTheKernelsRoutes) {
    const std::string zero(32, '0');
    const std::string routeTo = zero + " 00 " + zero + " 00 ";
    test::TemporaryFolder folder;
    folder.Write(
        "ipv6_route",
        routeTo + "fd000000000000000000000000000001 00000400 00000003 00000000 00000003 lo\n" +
            routeTo + "fd000000000000000000000000000001 00000400 00000003 00000000 00000003 lo\n" +
            routeTo + zero + " ffffffff 00000001 00000000 00200200 lo\n" +
            "fd000000000000000000000000000000 40 " + zero +
            " 00 fd000000000000000000000000000009 00000100 00000001 00000000 00000003 lo\n" +
            routeTo + "fe80000000000000000000000000000g 00000400 00000003 00000000 00000003 lo\n" +
            routeTo + "fe800000000000000000000000000001 00000400 00000003 00000000 00000003\n");
    NetworkConfigurationFiles files;
    files.ipv6Routes = folder.File("ipv6_route");
    LinuxNetworkConfiguration machine(files);
    bool found = false;
    for (const auto& adapter : machine.GetAdaptersInfo()) {
        if (adapter.AdapterName == "lo") {
            found = true;
            EXPECT_EQ(adapter.Ipv6DefaultGateways, std::vector<std::string>{"fd00::1"});
        }
    }
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace hostlore
