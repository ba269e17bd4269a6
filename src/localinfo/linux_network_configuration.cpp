#include "localinfo/linux_network_configuration.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "localinfo/dhcp_leases.h"
#include "platform/name_servers.h"
#include "platform/resolver.h"
#include "platform/system_error.h"

namespace hostlore {

namespace {

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string FirstLine(const std::filesystem::path& file) {
    const auto lines = ReadLines(file);
    return lines.empty() ? std::string() : lines.front();
}

std::int32_t NumberIn(const std::filesystem::path& file) {
    try {
        return std::stoi(FirstLine(file));
    } catch (...) {
        return 0;
    }
}

// The first name on the hosts line that lists the host (names match without
// regard to case): its canonical name.
std::string CanonicalHostName(const std::string& hostName, const std::filesystem::path& hosts) {
    for (const auto& line : ReadLines(hosts)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string address;
        std::string canonical;
        if (!(words >> address >> canonical)) {
            continue;
        }
        for (std::string name = canonical; !name.empty(); name.clear(), words >> name) {
            if (::strcasecmp(name.c_str(), hostName.c_str()) == 0) {
                return canonical;
            }
        }
    }
    return {};
}

// Taken from the machine's own files only: start-up must not wait on a
// name server that may never answer.
std::string DomainName(const std::string& hostName, const NetworkConfigurationFiles& files) {
    const std::string canonical = CanonicalHostName(hostName, files.hosts);
    if (const auto dot = canonical.find('.'); dot != std::string::npos) {
        return canonical.substr(dot + 1);
    }
    auto named = ResolvConfValues(files.resolvConf, "domain");
    if (named.empty()) {
        named = ResolvConfValues(files.resolvConf, "search");
    }
    return named.empty() ? std::string() : named.front();
}

bool NameServiceAsksDns(const std::filesystem::path& nsswitchConf) {
    for (const auto& line : ReadLines(nsswitchConf)) {
        std::istringstream words(line);
        std::string database;
        words >> database;
        if (database == "hosts:") {
            for (std::string source; words >> source;) {
                if (source == "dns") {
                    return true;
                }
            }
        }
    }
    return false;
}

std::string Dotted(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof(text));
    return text;
}

std::vector<std::uint8_t> HardwareAddress(const std::string& interface) {
    std::vector<std::uint8_t> bytes;
    std::istringstream text(FirstLine("/sys/class/net/" + interface + "/address"));
    for (std::string pair; std::getline(text, pair, ':');) {
        try {
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
        } catch (...) {
            return {};
        }
    }
    return bytes;
}

std::string DescriptionOf(const std::string& interface) {
    std::error_code error;
    const auto driver =
        std::filesystem::read_symlink("/sys/class/net/" + interface + "/device/driver", error);
    return error ? interface : driver.filename().string();
}

// Gateways per interface name, from the kernel's routing table.
std::map<std::string, std::vector<AddressEntry>> Gateways() {
    constexpr unsigned kGatewayFlag = 0x2;
    std::map<std::string, std::vector<AddressEntry>> gateways;
    const auto lines = ReadLines("/proc/net/route");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::istringstream fields(lines[i]);
        std::string interface;
        std::string destination;
        std::string gateway;
        unsigned flags = 0;
        fields >> interface >> destination >> gateway >> std::hex >> flags;
        if ((flags & kGatewayFlag) == 0) {
            continue;
        }
        in_addr address{};
        address.s_addr = static_cast<std::uint32_t>(std::stoul(gateway, nullptr, 16));
        auto& list = gateways[interface];
        const std::string text = Dotted(address);
        if (std::none_of(list.begin(), list.end(),
                         [&](const AddressEntry& e) { return e.IpAddress == text; })) {
            list.push_back({text, ""});
        }
    }
    return gateways;
}

int PrefixLength(const sockaddr_in6* mask) {
    int length = 0;
    if (mask != nullptr) {
        for (const std::uint8_t byte : mask->sin6_addr.s6_addr) {
            length += std::popcount(byte);
        }
    }
    return length;
}

// The 32 hexadecimal digits the kernel writes for an IPv6 address.
std::optional<Ipv6Address> HexAddress(const std::string& digits) {
    Ipv6Address address{};
    if (digits.size() != 2 * address.size() ||
        !std::all_of(digits.begin(), digits.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; })) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < address.size(); ++i) {
        address[i] = static_cast<std::uint8_t>(std::stoul(digits.substr(2 * i, 2), nullptr, 16));
    }
    return address;
}

// Default gateways per interface name: the routes to ::/0 through a gateway.
// A line holds destination, its prefix length, source, its prefix length,
// next hop, metric, reference and use counts, flags and the interface.
std::map<std::string, std::vector<std::string>> Ipv6DefaultGateways(
    const std::filesystem::path& routes) {
    constexpr unsigned long kGatewayFlag = 0x2;
    std::map<std::string, std::vector<std::string>> gateways;
    for (const auto& line : ReadLines(routes)) {
        std::istringstream fields(line);
        std::string destination, destinationLength, source, sourceLength, nextHop, metric,
            references, uses, flags, interface;
        if (!(fields >> destination >> destinationLength >> source >> sourceLength >> nextHop >>
              metric >> references >> uses >> flags >> interface) ||
            destination != std::string(32, '0') || destinationLength != "00" ||
            (std::strtoul(flags.c_str(), nullptr, 16) & kGatewayFlag) == 0) {
            continue;
        }
        const auto gateway = HexAddress(nextHop);
        if (!gateway) {
            continue;
        }
        auto& list = gateways[interface];
        if (const std::string text = Ipv6Text(*gateway);
            std::find(list.begin(), list.end(), text) == list.end()) {
            list.push_back(text);
        }
    }
    return gateways;
}

}  // namespace

LinuxNetworkConfiguration::LinuxNetworkConfiguration(NetworkConfigurationFiles files)
    : files_(std::move(files)) {}

NetworkParameters LinuxNetworkConfiguration::GetNetworkParams() {
    NetworkParameters parameters;
    char hostName[256] = {};
    if (::gethostname(hostName, sizeof(hostName)) != 0) {
        throw ESystemError(errno);
    }
    parameters.HostName = hostName;
    parameters.DomainName = DomainName(parameters.HostName, files_);
    for (const auto& server : NameServers(files_.resolvConf, files_.resolvedResolvConf)) {
        parameters.DnsServerList.push_back({server, ""});
    }
    if (!parameters.DnsServerList.empty()) {
        parameters.CurrentDnsServer = parameters.DnsServerList.front();
    }
    parameters.EnableRouting = NumberIn("/proc/sys/net/ipv4/ip_forward");
    parameters.EnableProxy = NumberIn("/proc/sys/net/ipv4/conf/all/proxy_arp");
    parameters.EnableDns =
        !parameters.DnsServerList.empty() && NameServiceAsksDns(files_.nsswitchConf) ? 1 : 0;
    return parameters;
}

std::vector<AdapterInfo> LinuxNetworkConfiguration::GetAdaptersInfo() {
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0) {
        throw ESystemError(errno);
    }
    std::map<int, AdapterInfo> byIndex;
    for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
        const int index = static_cast<int>(::if_nametoindex(entry->ifa_name));
        if (index == 0) {
            continue;
        }
        // An address's label ("lo:9") names the address, not the interface.
        char name[IF_NAMESIZE] = {};
        if (::if_indextoname(static_cast<unsigned>(index), name) == nullptr) {
            continue;
        }
        AdapterInfo& adapter = byIndex[index];
        adapter.ComboIndex = index;
        adapter.Index = index;
        adapter.AdapterName = name;
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET) {
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            const auto* mask = reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask);
            adapter.IpAddressList.push_back({Dotted(address->sin_addr), mask != nullptr
                                                                            ? Dotted(mask->sin_addr)
                                                                            : std::string()});
        } else if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET6) {
            const auto* address = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr);
            Ipv6Address bytes{};
            std::memcpy(bytes.data(), &address->sin6_addr, bytes.size());
            adapter.Ipv6AddressList.push_back(
                {Ipv6Text(bytes),
                 PrefixLength(reinterpret_cast<const sockaddr_in6*>(entry->ifa_netmask))});
        }
    }
    ::freeifaddrs(interfaces);

    const auto gateways = Gateways();
    const auto ipv6Gateways = Ipv6DefaultGateways(files_.ipv6Routes);
    const auto leasedAddresses = LeasedIpv4Addresses();
    std::vector<AdapterInfo> adapters;
    for (auto& [index, adapter] : byIndex) {
        adapter.Address = HardwareAddress(adapter.AdapterName);
        if (adapter.IpAddressList.empty() && adapter.Ipv6AddressList.empty() &&
            adapter.Address.empty()) {
            continue;
        }
        adapter.Description = DescriptionOf(adapter.AdapterName);
        adapter.Type = NumberIn("/sys/class/net/" + adapter.AdapterName + "/type");
        if (!adapter.IpAddressList.empty()) {
            adapter.CurrentIpAddress = adapter.IpAddressList.front();
        }
        if (const auto found = gateways.find(adapter.AdapterName); found != gateways.end()) {
            adapter.GatewayList = found->second;
        }
        if (const auto found = ipv6Gateways.find(adapter.AdapterName);
            found != ipv6Gateways.end()) {
            adapter.Ipv6DefaultGateways = found->second;
        }
        ApplyDhcpLease(adapter, leasedAddresses);
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

}  // namespace hostlore
