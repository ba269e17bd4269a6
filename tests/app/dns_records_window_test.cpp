#include <gtest/gtest.h>

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTableWidget>
#include <QToolButton>

#include "app/main_window.h"
#include "dns/test_dns.h"
#include "platform/unbound_dns.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/report_schema.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// DNS Records in the real window, validated from the test zones' trust anchor
// through the test namespace's name servers, and the report saved from it.
class DnsRecordsWindowTest : public test::TestDns {
  protected:
    void SetUp() override {
        test::TestDns::SetUp();
        if (IsSkipped()) {
            return;
        }
        program.WriteSettings("[general]\r\nexecute=false\r\nget_ie=false\r\nip_nei=0\r\n" +
                              test::TestTrustAnchorSetting());
        auto services = program.Services();
        services.resolver = std::make_shared<SystemResolver>();
        services.dns = std::make_shared<UnboundDnsService>();
        window = std::make_unique<Tmain>(services);
        records = test::Find<QTableWidget>(*window, "Records");
    }

    void Query(const char* url) {
        test::Ui(*window).url_edit->setEditText(QString::fromLatin1(url));
        window->goClick(test::Ui(*window).go);
    }

    Rows Shown() const {
        Rows rows;
        for (int row = 0; row < records->rowCount(); ++row) {
            std::vector<std::string> cells;
            for (int column = 0; column < records->columnCount(); ++column) {
                cells.push_back(records->item(row, column)->text().toStdString());
            }
            rows.push_back(cells);
        }
        return rows;
    }

    // The page once no answer is outstanding.
    Rows Complete() const {
        const auto waiting = [this] {
            const Rows rows = Shown();
            return rows.empty() ||
                   std::any_of(rows.begin(), rows.end(), [](const std::vector<std::string>& row) {
                       return row[3] == "waiting for the answer" || row[3] == "not known yet";
                   });
        };
        EXPECT_TRUE(test::PumpUntil([&] { return !waiting(); }, 10000));
        return Shown();
    }

    Rows DnssecRows() const {
        Rows lines;
        for (const auto& row : Complete()) {
            if (row[1] == "DNSSEC") {
                lines.push_back({row[0], row[3]});
            }
        }
        return lines;
    }

    QJsonObject SavedJson() {
        program.saveFiles->answer = program.folder.File("report.json");
        window->SaveReport1Click();
        EXPECT_EQ(test::ReportSchemaErrors(program.folder.File("report.json")), "");
        return QJsonDocument::fromJson(
                   QByteArray::fromStdString(program.folder.Read("report.json")))
            .object();
    }

    test::FakeProgram program;
    std::unique_ptr<Tmain> window;
    QTableWidget* records = nullptr;
};

TEST_F(DnsRecordsWindowTest, ShowsEveryRecordTypeOfASignedZoneInItsOrder) {
    Query("www.signed.example");
    const Rows expected = {
        {"www.signed.example", "CNAME", "3600", "web.signed.example"},
        {"web.signed.example", "CNAME", "3600", "host.signed.example"},
        {"host.signed.example", "A", "3600", "192.0.2.80"},
        {"host.signed.example", "AAAA", "3600", "2001:db8::80"},
        {"signed.example", "SOA", "3600",
         "primary server ns1.signed.example, contact john.doe@signed.example, serial "
         "2024010101, refresh 7200, retry 900, expire 1209600, minimum 300"},
        {"signed.example", "NS", "3600", "ns1.signed.example"},
        {"signed.example", "NS", "3600", "ns2.signed.example"},
        {"signed.example", "MX", "3600", "10 mx1.signed.example"},
        {"signed.example", "MX", "3600", "20 mx2.signed.example"},
        {"signed.example", "MX", "3600", "30 bücher.signed.example (xn--bcher-kva.signed.example)"},
        {"signed.example", "TXT", "3600", "\"site-verification=3f2a\" \"second string\""},
        {"signed.example", "TXT (SPF)", "3600", "\"v=spf1 mx -all\""},
        {"_dmarc.signed.example", "TXT", "3600", "\"v=DMARC1; p=reject\""},
        {"signed.example", "CAA", "3600", "0 iodef \"mailto:security@signed.example\""},
        {"signed.example", "CAA", "3600", "0 issue \"ca.example\""},
        {"host.signed.example", "CAA", "3600", "0 issue \"other-ca.example\""},
        {"www.signed.example", "DNSSEC", "", "signed and valid"},
        {"signed.example", "DNSSEC", "", "signed and valid"},
        {"_dmarc.signed.example", "DNSSEC", "", "signed and valid"},
    };
    EXPECT_EQ(Complete(), expected);
    const QJsonArray saved = SavedJson()["dns"].toObject()["records"].toArray();
    ASSERT_EQ(saved.size(), 16);
    EXPECT_EQ(QJsonDocument(saved[4].toObject()).toJson(QJsonDocument::Compact).toStdString(),
              "{\"name\":\"signed.example\",\"reason\":null,\"ttl\":3600,\"type\":\"SOA\","
              "\"value\":{\"contact\":\"john.doe@signed.example\",\"expire\":1209600,"
              "\"minimum\":300,\"primary_server\":\"ns1.signed.example\",\"refresh\":7200,"
              "\"retry\":900,\"serial\":2024010101}}");
}

TEST_F(DnsRecordsWindowTest, ShowsEachDnssecStateOnThePageAndInTheReport) {
    const char* const expired =
        "signed, but the signatures do not validate: signature expired from 127.0.0.1 for key "
        "broken.example. while building chain of trust";
    const struct {
        const char* domain;
        const char* shown;  // on the page, of the host, the domain and its mail policy alike
        const char* state;  // in the report
    } cases[] = {
        {"signed.example", "signed and valid", "valid"},
        {"broken.example", expired, "bogus"},
        {"unsigned.example", "not signed", "not_signed"},
        {"silent.example", "could not be checked: Time-out.", "not_checked"},
    };
    for (const auto& c : cases) {
        const std::string domain = c.domain;
        const std::string url = "www." + domain;
        Query(url.c_str());
        EXPECT_EQ(DnssecRows(),
                  (Rows{{url, c.shown}, {domain, c.shown}, {"_dmarc." + domain, c.shown}}))
            << url;
        const QJsonObject dns = SavedJson()["dns"].toObject();
        EXPECT_EQ(dns["host"].toString().toStdString(), url);
        const QJsonArray lines = dns["dnssec"].toArray();
        ASSERT_EQ(lines.size(), 3) << url;
        for (const auto line : lines) {
            EXPECT_EQ(line.toObject()["state"].toString().toStdString(), c.state) << url;
        }
        program.saveFiles->answer = program.folder.File("report.txt");
        window->SaveReport1Click();
        EXPECT_NE(program.folder.Read("report.txt").find("\nDNS Records\n" + url + "  "),
                  std::string::npos)
            << url;
    }
}

TEST_F(DnsRecordsWindowTest, ANewerQueryCutsTheLookUpsOfTheOlderOneOff) {
    Query("www.silent.example");
    ASSERT_TRUE(test::PumpUntil([&] { return !Shown().empty(); }));
    Query("www.unsigned.example");
    const Rows newer = Complete();
    // Long past the older one's time-outs, nothing of it has reached the page.
    test::PumpUntil([] { return false; }, 2500);
    EXPECT_EQ(Shown(), newer);
    EXPECT_EQ(newer.front()[0], "www.unsigned.example");
}

}  // namespace
}  // namespace hostlore
