#include "query/neighbourhood/neighbour_scan.h"

#include <gtest/gtest.h>

#include "query/neighbourhood/neighbour_items.h"

namespace hostlore {
namespace {

using Kind = NeighbourScanPlan::Kind;

TEST(PlanNeighbourScan, ListsTheHostInTheMiddleWithCarryAndBorrow) {
    struct Case {
        Ipv4Address host;
        std::int32_t neighbours;
        Kind kind;
        Ipv4Address first;
        std::uint64_t count;
    };
    const Case cases[] = {
        {{10, 1, 2, 100}, 20, Kind::Scan, {10, 1, 2, 90}, 21},
        {{10, 1, 2, 100}, 0, Kind::Scan, {10, 1, 2, 100}, 1},
        {{10, 1, 2, 100}, 1, Kind::Scan, {10, 1, 2, 100}, 2},
        {{10, 1, 2, 100}, 2, Kind::Scan, {10, 1, 2, 99}, 3},
        {{10, 1, 2, 100}, 3, Kind::Scan, {10, 1, 2, 99}, 4},
        {{10, 1, 2, 5}, 20, Kind::Scan, {10, 1, 1, 251}, 21},
        {{10, 0, 0, 3}, 20, Kind::Scan, {9, 255, 255, 249}, 21},
        {{255, 255, 255, 250}, 20, Kind::Scan, {255, 255, 255, 240}, 16},
        {{255, 255, 255, 255}, 0, Kind::Scan, {255, 255, 255, 255}, 1},
        {{0, 0, 0, 11}, 20, Kind::Scan, {0, 0, 0, 1}, 21},
        {{0, 0, 0, 10}, 20, Kind::KeepList, {}, 0},
        {{0, 0, 0, 9}, 20, Kind::KeepList, {}, 0},
        {{0, 0, 0, 0}, 0, Kind::KeepList, {}, 0},
        {{0, 0, 0, 0}, -1, Kind::KeepList, {}, 0},
        {{10, 1, 2, 100}, -1, Kind::EmptyList, {}, 0},
        {{10, 1, 2, 100}, -40, Kind::EmptyList, {}, 0},
        {{10, 1, 2, 100}, 2147483647, Kind::KeepList, {}, 0},
    };
    for (const Case& c : cases) {
        const NeighbourScanPlan plan = PlanNeighbourScan(c.host, c.neighbours);
        const std::string what = DottedAddress(c.host) + " N=" + std::to_string(c.neighbours);
        EXPECT_EQ(plan.kind, c.kind) << what;
        if (c.kind == Kind::Scan) {
            EXPECT_EQ(DottedAddress(AddressOfValue(plan.first)), DottedAddress(c.first)) << what;
            EXPECT_EQ(plan.count, c.count) << what;
        }
    }
}

TEST(PlanNeighbourScan, TheHostIsTheItemAfterHalfTheNeighbours) {
    const Ipv4Address host{192, 0, 2, 100};
    for (std::int32_t n = 0; n <= 300; ++n) {
        const NeighbourScanPlan plan = PlanNeighbourScan(host, n);
        ASSERT_EQ(plan.count, static_cast<std::uint64_t>(n) + 1);
        EXPECT_EQ(plan.first + static_cast<std::uint32_t>(n / 2), AddressValue(host)) << n;
    }
}

TEST(NeighbourCount, ReadsTheSettingsIntegerWithTwentyForEmpty) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"", 20},     {"20", 20},  {" 12", 12},    {"-3", -3},  {"$10", 16},
        {"0x10", 16}, {"12 ", {}}, {"twelve", {}}, {"1.5", {}}, {"99999999999", {}},
    };
    for (const auto& [stored, expected] : cases) {
        EXPECT_EQ(NeighbourCount(stored), expected) << '"' << stored << '"';
    }
}

TEST(NeighbourName, IsTheTextAfterTheFirstFourBlanksUnlessItIsX) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"192.0.2.1    www.example.test", "www.example.test"},
        {"192.0.2.1    X", {}},
        {"192.0.2.1", {}},
        {"192.0.2.1   three", {}},
        {"192.0.2.1        two  runs", "    two  runs"},
        {"192.0.2.1    Xs", "Xs"},
        {"", {}},
    };
    for (const auto& [item, name] : cases) {
        EXPECT_EQ(NeighbourName(item), name) << '"' << item << '"';
    }
    EXPECT_EQ(NamedNeighbourItem("192.0.2.1", "X"), "192.0.2.1    X");
}

}  // namespace
}  // namespace hostlore
