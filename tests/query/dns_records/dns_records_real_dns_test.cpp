#include <gtest/gtest.h>

#include "dns/test_dns.h"
#include "platform/unbound_dns.h"
#include "query/dns_records/dns_record_text.h"
#include "query/dns_records/dns_records_thread.h"
#include "support/fake_views.h"
#include "support/gate.h"
#include "support/process_counts.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

class RecordingDnsRecords : public DnsRecordsView {
  public:
    void ShowTable(const DnsRecordsTable& shown) override {
        table = shown;
        ++shows;
    }
    DnsRecordsTable table;
    int shows = 0;
};

// The worker against knot's test zones, through the test namespace's name
// servers or others that resolv.conf files of the test's own name.
class DnsRecordsRealDnsTest : public test::TestDns {
  protected:
    void SetUp() override {
        test::TestDns::SetUp();
        folder.Write("settings.ini", test::TestTrustAnchorSetting());
    }

    std::shared_ptr<dns_records_thread> Start(const std::string& url,
                                              std::shared_ptr<DnsService> dns) {
        return run.Start<dns_records_thread>(url, page, SettingsStore(folder.File("settings.ini")),
                                             std::move(dns), PublicSuffixList::Packaged());
    }

    test::TemporaryFolder folder;
    RecordingDnsRecords page;
    test::WorkerRun run;
};

TEST_F(DnsRecordsRealDnsTest, NameServersThatDropSignaturesLeaveDnssecUnchecked) {
    folder.Write("resolv.conf", "nameserver 127.0.0.3\noptions timeout:1 attempts:2\n");
    Start("http://www.signed.example/",
          std::make_shared<UnboundDnsService>(NameServerFiles{folder.File("resolv.conf"), {}}));
    ASSERT_TRUE(run.WaitForEnd(10000));
    ASSERT_EQ(page.table.dnssec.size(), 3U);
    for (const DnssecLine& line : page.table.dnssec) {
        EXPECT_EQ(DnssecCells(line)[3],
                  "could not be checked: the name servers asked do not pass on DNSSEC records")
            << line.name;
    }
    ASSERT_FALSE(page.table.records.empty());
    EXPECT_EQ(
        DnsRowCells(page.table.records.front()),
        (std::array<std::string, 4>{"www.signed.example", "CNAME", "3600", "web.signed.example"}))
        << "the records themselves still show";
}

TEST_F(DnsRecordsRealDnsTest, AStopLeavesNoThreadOrSocketOfTheLookUpsBehindAfter100Ms) {
    const auto dns = std::make_shared<UnboundDnsService>();
    {
        // The first batch loads the library for good.
        auto first = Start("http://www.unsigned.example/", dns);
        ASSERT_TRUE(run.WaitForEnd(10000));
        ASSERT_TRUE(test::ReleaseAndWaitForEnd(first));
    }
    const test::ProcessCounts before;

    const auto worker = Start("http://www.silent.example/", dns);
    // The worker shows the page waiting once every question is out.
    ASSERT_TRUE(test::PumpUntil([&] { return page.table.host == "www.silent.example"; }));
    ASSERT_EQ(page.table.records.back().reason, "waiting for the answer");
    worker->Terminate();
    // Look-up threads that earlier tests left may end meanwhile; nothing of
    // the worker may remain.
    EXPECT_TRUE(test::BackWithin(before, 100 * HOSTLORE_TEST_TIME_SCALE));
}

}  // namespace
}  // namespace hostlore
