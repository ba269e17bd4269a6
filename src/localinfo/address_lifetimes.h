#pragma once

#include <cstdint>
#include <map>

namespace hostlore {

// An IPv4 address the kernel holds for a limited time, as a DHCP client sets
// it; times in seconds since 1970 UTC.
struct LeasedAddress {
    std::int64_t obtained = 0;
    std::int64_t expires = 0;
};

// Per interface index, its first IPv4 address with a finite valid lifetime.
std::map<int, LeasedAddress> LeasedIpv4Addresses();

}  // namespace hostlore
