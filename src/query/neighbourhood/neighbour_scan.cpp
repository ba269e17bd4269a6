#include "query/neighbourhood/neighbour_scan.h"

#include <algorithm>

#include "platform/integer_text.h"

namespace hostlore {

namespace {

constexpr std::int32_t kDefaultNeighbours = 20;
constexpr std::int64_t kAddressSpace = std::int64_t{1} << 32;

}  // namespace

std::optional<std::int32_t> NeighbourCount(std::string_view stored) {
    if (stored.empty()) {
        return kDefaultNeighbours;
    }
    return ParseInteger(stored);
}

NeighbourScanPlan PlanNeighbourScan(const Ipv4Address& host, std::int32_t neighbours) {
    const std::int64_t half = neighbours / 2;
    // The address before the first one listed; the scan adds one before each item.
    const std::int64_t before = std::int64_t{AddressValue(host)} - (half + 1);
    NeighbourScanPlan plan;
    if (before < 0) {
        return plan;
    }
    if (neighbours < 0) {
        plan.kind = NeighbourScanPlan::Kind::EmptyList;
        return plan;
    }
    plan.kind = NeighbourScanPlan::Kind::Scan;
    const std::int64_t first = before + 1;  // at most the host's own address
    plan.first = static_cast<std::uint32_t>(first);
    plan.count = static_cast<std::uint64_t>(
        std::min<std::int64_t>(std::int64_t{neighbours} + 1, kAddressSpace - first));
    return plan;
}

std::uint32_t AddressValue(const Ipv4Address& address) {
    return (std::uint32_t{address[0]} << 24) | (std::uint32_t{address[1]} << 16) |
           (std::uint32_t{address[2]} << 8) | std::uint32_t{address[3]};
}

Ipv4Address AddressOfValue(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

}  // namespace hostlore
