#include <gtest/gtest.h>

#include "dns/test_dns.h"
#include "query/neighbourhood/ip_nei_thread.h"
#include "support/fake_views.h"
#include "support/gate.h"
#include "support/process_counts.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

using IpNeiRealDnsTest = test::TestDns;

TEST_F(IpNeiRealDnsTest, NamesEachNeighbourThroughTheSystemResolverInOrder) {
    test::TemporaryFolder folder;
    folder.Write("settings.ini", "[general]\r\nip_nei=10\r\n");
    test::RecordingNeighbourhood page;
    test::WorkerRun run;
    run.Start<ip_nei_thread>("http://198.51.100.3/", page,
                             SettingsStore(folder.File("settings.ini")),
                             std::make_shared<SystemResolver>());
    ASSERT_TRUE(run.WaitForEnd(20000));
    // Outside the synthesised block nothing has a name; inside, the two
    // addresses with records of their own keep them.
    const std::vector<std::string> expected = {
        "198.51.99.254    X",
        "198.51.99.255    X",
        "198.51.100.0    host-198-51-100-0.example.test",
        "198.51.100.1    host-198-51-100-1.example.test",
        "198.51.100.2    host-198-51-100-2.example.test",
        "198.51.100.3    host-198-51-100-3.example.test",
        "198.51.100.4    host-198-51-100-4.example.test",
        "198.51.100.5    host-198-51-100-5.example.test",
        "198.51.100.6    host-198-51-100-6.example.test",
        "198.51.100.7    seven.example.test",
        "198.51.100.8    host-198-51-100-8.example.test",
    };
    EXPECT_EQ(page.items, expected);
}

TEST_F(IpNeiRealDnsTest, AStopLeavesNoThreadOrSocketOfTheScanBehindAfter100Ms) {
    test::SilentNameServer silent;
    test::TemporaryFolder folder;
    folder.Write("settings.ini", "[general]\r\nip_nei=0\r\n");
    const SettingsStore settings(folder.File("settings.ini"));
    const auto resolver = std::make_shared<SystemResolver>();
    test::RecordingNeighbourhood page;
    test::WorkerRun run;
    {
        // The resolver's thread runs from the first scan on; the hosts file
        // answers this one without a socket.
        auto first = run.Start<ip_nei_thread>("http://203.0.113.77/", page, settings, resolver);
        ASSERT_TRUE(run.WaitForEnd(20000));
        ASSERT_TRUE(test::ReleaseAndWaitForEnd(first));
        ASSERT_EQ(page.items, std::vector<std::string>{"203.0.113.77    hosts-file.example.test"});
    }
    const test::ProcessCounts before;

    folder.Write("settings.ini", "[general]\r\nip_nei=20\r\n");
    const auto scan = run.Start<ip_nei_thread>("http://198.18.0.150/", page, settings, resolver);
    ASSERT_TRUE(
        test::PumpUntil([&] { return silent.Received() == 21 && page.items.size() == 1; }, 900));
    EXPECT_EQ(page.items, std::vector<std::string>{"198.18.0.140"});
    scan->Terminate();
    // Look-up threads that earlier tests left may end meanwhile; nothing of
    // the scan may remain.
    EXPECT_TRUE(test::BackWithin(before, 100 * HOSTLORE_TEST_TIME_SCALE));
}

}  // namespace
}  // namespace hostlore
