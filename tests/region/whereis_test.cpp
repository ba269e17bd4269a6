#include "region/whereis.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

namespace hostlore {
namespace {

struct RegionCase {
    const char* address;
    const char* region;
};

TEST(RegionOfAddress, GivesTheListedTextByteForByte) {
    const RegionCase cases[] = {
        {"3.0.0.1", "(USA)General Electric Company, NJ (NET-GE-INTERNET)"},
        {"13.1.2.3", "Xerox Palo Alto Research Center, CA (NET-XEROX-NET) "},
        {"22.0.0.1", "Defense Information Systems Agency, Washington DC (NET-DISNET))"},
        {"12.1.1.1", "(USA) AT&T(NET-ATT)"},
        {"224.0.0.1", "University of Southern California (NET-MCAST-NET)"},
        {"239.255.255.255", "University of Southern California (NET-MCAST-NET)"},
        {"61.8.0.1", "Australia"},
        {"61.128.0.1", "China"},
        {"193.200.1.1", "Bulgaria"},
        {"203.130.0.1", "Asia-Pacific"},
        {"203.230.0.1", "Korea (South)"},
        {"192.167.0.1", "Italty"},
        {"193.127.0.1", "PSpain"},
        {"210.57.0.1", "Hong kong"},
        {"196.1.1.1", "South Africa/Caribbean"},
        {"214.0.0.1", "DoD Network Information Center, VA (NETBLK-DDN-NIC15)"},
        {"215.9.9.9", "DoD Network Information Center, VA (NETBLK-DDN-NIC15)"},
        {"218.1.1.1", "Asia Pacific"},
        {"43.1.1.1", "Japan Inet, Japan (NET-JAPAN-A)"},
        {"52.1.1.1", "Germany"},
        {"53.1.1.1", "Germany"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(region_of_address(c.address), c.region) << c.address;
    }
}

TEST(RegionOfAddress, TakesEveryNumberOfARangeAndNothingBeyondIt) {
    const RegionCase cases[] = {
        // First field 200: 128-255 is Brazil, 53-127 is not listed.
        {"200.127.0.1", "United States"},
        {"200.128.0.1", "Brazil"},
        {"200.255.0.1", "Brazil"},
        {"200.52.0.1", "Mexico"},
        {"200.53.0.1", "United States"},
        // First field 62: "252-254" and a gap at 255.
        {"62.251.0.1", "United States"},
        {"62.252.0.1", "Great Britain"},
        {"62.254.0.1", "Great Britain"},
        {"62.255.0.1", "United States"},
        // First field 202: several ranges in one row.
        {"202.0.0.1", "Asia-Pacific"},
        {"202.8.0.1", "Asia-Pacific"},
        {"202.9.0.1", "Australia/Malaysia"},
        {"202.183.0.1", "Asia-Pacific"},
        {"202.184.0.1", "Malaysia"},
        {"202.191.0.1", "Malaysia"},
        {"202.192.0.1", "China"},
        {"202.208.0.1", "Japan"},
        // First field 211: gaps between the listed ranges.
        {"211.24.0.1", "United States"},
        {"211.31.0.1", "United States"},
        {"211.32.0.1", "Korea (South)"},
        {"211.64.0.1", "China"},
        {"211.255.0.1", "China"},
        // First field 217 begins at 5.
        {"217.4.0.1", "United States"},
        {"217.5.0.1", "Germany"},
        {"217.142.0.1", "Sweden"},
        {"217.143.0.1", "United States"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(region_of_address(c.address), c.region) << c.address;
    }
}

TEST(RegionOfAddress, FindsARowInEverySecondLevelTable) {
    const RegionCase cases[] = {
        {"61.9.0.1", "United States"},
        {"62.0.1.1", "Israel"},
        {"62.229.1.1", "Switzerland/Czech Republic/Portugal/Netherlands/Spain"},
        {"192.38.1.1", "Danish"},
        {"192.66.1.1", "Danmark"},
        {"192.116.1.1", "Israeli"},
        {"193.95.1.1", "Tunisia/Slovenia/Ireland"},
        {"194.67.1.1", "Russian Federation/Kazachstan/Belarus/Georgia"},
        {"194.225.1.1", "Iran"},
        {"195.128.1.1", "Saudi Arabia/Russian Federation"},
        {"195.252.1.1", "European"},
        {"200.25.1.1", "Columbia"},
        {"203.160.1.1", "Vietnam"},
        {"210.56.1.1", "Pakistan"},
        {"212.217.1.1", "Morocco"},
        {"213.240.1.1", "Yugoslavia/Germany"},
        {"213.247.1.1", "Egypt"},
        {"217.138.1.1", "Malta"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(region_of_address(c.address), c.region) << c.address;
    }
}

TEST(RegionOfAddress, AnswersUnitedStatesForAnythingUnlisted) {
    const char* const addresses[] = {
        "10.0.0.1", "0.0.0.0",  "127.0.0.1",        "255.255.255.255", "193.0.0.1",
        "",         "no dots",  "193.abc.1.1",      "abc.1.1.1",       "256.1.1.1",
        "61.8",     "-3.0.0.1", "99999999999.1.1.1"};
    for (const char* address : addresses) {
        EXPECT_EQ(region_of_address(address), "United States") << "'" << address << "'";
    }
}

TEST(RegionOfAddress, OnlyTheFirstAddressOfAListCounts) {
    EXPECT_EQ(region_of_address("12.1.1.1\r\n64.2.2.2\r\n"), "(USA) AT&T(NET-ATT)");
    EXPECT_EQ(region_of_address("64.2.2.2\r\n12.1.1.1\r\n"), "United States");
}

TEST(RegionOfAddress, NeverAnswersEmptyTextForAnyBlock) {
    std::set<std::string> texts;
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const std::string text =
                region_of_address(std::to_string(first) + "." + std::to_string(second) + ".7.7");
            ASSERT_FALSE(text.empty()) << first << "." << second;
            texts.insert(text);
        }
    }
    EXPECT_EQ(texts.size(), 196u) << "every text of the table is reachable";
}

TEST(RegionMatchOf, NamesTheBlockAndTheRowThatDecided) {
    const struct {
        const char* address;
        const char* block;
        const char* rule;
    } cases[] = {
        {"12.1.1.1", "12.0.0.0/8", "12"},
        {"1.2.3.4", "1.0.0.0/8", "0-2"},
        {"217.10.0.1", "217.10.0.0/16", "217.8-31, 64-79, 112-119, 140"},
        {"217.4.0.1", "217.4.0.0/16", ""},   // a first number with rows, none for 4
        {"193.abc.1.1", "193.0.0.0/8", ""},  // no second number to decide by
        {"no dots", "", ""},
    };
    for (const auto& c : cases) {
        const RegionMatch match = RegionMatchOf(c.address);
        EXPECT_EQ(match.region, region_of_address(c.address)) << c.address;
        EXPECT_EQ(match.block, c.block) << c.address;
        EXPECT_EQ(match.rule, c.rule) << c.address;
    }
}

TEST(RegionOfAddress, IsSafeOnManyThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (std::size_t t = 0; t < wrong.size(); ++t) {
        threads.emplace_back([&wrong, t] {
            for (int i = 0; i < 2000; ++i) {
                wrong[t] += region_of_address("193.200.1.1") == "Bulgaria" ? 0 : 1;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace hostlore
