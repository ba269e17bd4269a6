#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "dns/test_dns.h"
#include "localinfo/linux_network_configuration.h"

namespace hostlore {
namespace {

// Runs inside the test DNS server's network namespace, as root, so the address
// it adds to the loopback interface is gone with the namespace.
class LeasedAddressTest : public test::TestDns {};

TEST_F(LeasedAddressTest, AnAddressThatExpiresCountsAsADhcpLease) {
    ASSERT_EQ(std::system("ip addr add 192.0.2.99/32 dev lo valid_lft 3600 preferred_lft 3600"), 0);
    const std::time_t now = std::time(nullptr);
    LinuxNetworkConfiguration machine;
    bool found = false;
    for (const auto& adapter : machine.GetAdaptersInfo()) {
        if (adapter.AdapterName != "lo") {
            continue;
        }
        found = true;
        EXPECT_EQ(adapter.DhcpEnabled, 1);
        EXPECT_NEAR(adapter.LeaseExpires, now + 3600, 10);
        EXPECT_NEAR(adapter.LeaseObtained, now, 10);
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(std::system("ip addr del 192.0.2.99/32 dev lo"), 0);
}

TEST_F(LeasedAddressTest, AddressesThatNeverExpireAreNoLease) {
    LinuxNetworkConfiguration machine;
    for (const auto& adapter : machine.GetAdaptersInfo()) {
        if (adapter.AdapterName == "lo") {
            EXPECT_EQ(adapter.DhcpEnabled, 0);
            EXPECT_EQ(adapter.LeaseExpires, 0);
        }
    }
}

}  // namespace
}  // namespace hostlore
