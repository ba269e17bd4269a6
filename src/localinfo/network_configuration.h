#pragma once

// localinfo/: what this machine tells of itself (network configuration and its report, DHCP leases,
// the browsers' URL); no widgets, may include net/ and platform/.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hostlore {

struct AddressEntry {
    std::string IpAddress;
    std::string IpMask;
};

// An IPv6 address with the length of its network prefix.
struct PrefixedAddress {
    std::string IpAddress;
    int PrefixLength = 0;
};

// The machine-wide network parameters.
struct NetworkParameters {
    std::string HostName;
    std::string DomainName;
    std::optional<AddressEntry> CurrentDnsServer;
    std::vector<AddressEntry> DnsServerList;
    std::string ScopeId;
    std::int32_t EnableRouting = 0;
    std::int32_t EnableProxy = 0;
    std::int32_t EnableDns = 0;
};

// One network adapter. Lease times are seconds since 1970 (UTC), 0 for none.
struct AdapterInfo {
    std::int32_t ComboIndex = 0;
    std::string AdapterName;
    std::string Description;
    std::vector<std::uint8_t> Address;
    std::int32_t Index = 0;
    std::int32_t Type = 0;
    std::int32_t DhcpEnabled = 0;
    std::optional<AddressEntry> CurrentIpAddress;
    std::vector<AddressEntry> IpAddressList;
    std::vector<AddressEntry> GatewayList;
    std::vector<AddressEntry> DhcpServer;
    std::int32_t HaveWins = 0;
    std::vector<AddressEntry> PrimaryWinsServer;
    std::vector<AddressEntry> SecondaryWinsServer;
    std::int32_t LeaseObtained = 0;
    std::int32_t LeaseExpires = 0;
    std::vector<PrefixedAddress> Ipv6AddressList;
    std::vector<std::string> Ipv6DefaultGateways;
};

// Where the local network report takes its values from; tests hand in a fixed
// machine. Both calls raise ESystemError when the system cannot tell.
class NetworkConfigurationSource {
  public:
    virtual ~NetworkConfigurationSource() = default;
    virtual NetworkParameters GetNetworkParams() = 0;
    virtual std::vector<AdapterInfo> GetAdaptersInfo() = 0;
};

}  // namespace hostlore
