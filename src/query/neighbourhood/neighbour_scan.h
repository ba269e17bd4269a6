#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/resolver.h"

namespace hostlore {

// The addresses a scan lists around a host, as 32-bit values (the first
// number most significant).
struct NeighbourScanPlan {
    enum class Kind {
        KeepList,   // the start would lie below 0.0.0.0: the list stays as it was
        EmptyList,  // a negative count: the list is cleared and stays empty
        Scan,       // the list is cleared and `count` addresses from `first` follow
    };
    Kind kind = Kind::KeepList;
    std::uint32_t first = 0;
    std::uint64_t count = 0;
};

// The neighbour count as the settings give it: empty means 20; nothing when
// the text is not an integer.
std::optional<std::int32_t> NeighbourCount(std::string_view stored);

// For N neighbours: the N + 1 addresses from host − N div 2 on, stopping after
// 255.255.255.255.
NeighbourScanPlan PlanNeighbourScan(const Ipv4Address& host, std::int32_t neighbours);

std::uint32_t AddressValue(const Ipv4Address& address);
Ipv4Address AddressOfValue(std::uint32_t value);

}  // namespace hostlore
