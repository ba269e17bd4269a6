#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "localinfo/address_lifetimes.h"
#include "localinfo/network_configuration.h"

namespace hostlore {

// What a DHCP lease tells about an interface; times in seconds since 1970 UTC.
struct DhcpLease {
    std::string server;
    std::vector<std::string> winsServers;
    std::int64_t obtained = 0;
    std::int64_t expires = 0;
};

// The last lease for `interface` in a dhclient leases file.
std::optional<DhcpLease> ParseDhclientLeases(std::string_view content,
                                             const std::string& interface);

// A systemd-networkd lease file, written when the lease was obtained.
std::optional<DhcpLease> ParseNetworkdLease(std::string_view content, std::int64_t writtenAt);

// Marks the adapter as configured by DHCP when the machine holds a lease for
// it, or one of its addresses expires, and fills in the lease's server, WINS
// servers and times.
void ApplyDhcpLease(AdapterInfo& adapter, const std::map<int, LeasedAddress>& leasedAddresses);

}  // namespace hostlore
