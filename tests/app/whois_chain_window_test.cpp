#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/main_window.h"
#include "dns/test_dns.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/scoped_environment.h"
#include "support/test_certificates.h"
#include "support/whois_test_world.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

// Whois Info through the window, against the test world's whois and RDAP
// servers found by the test DNS, with a suffix list that knows co.test.
class WhoisChainWindowTest : public test::TestDns {
  protected:
    void SetUp() override {
        test::TestDns::SetUp();
        if (IsSkipped()) {
            return;
        }
        world = std::make_unique<test::WhoisTestWorld>();
        program.folder.Write(
            "suffixes.dat",
            "// ===BEGIN ICANN DOMAINS===\ntest\nco.test\n// ===END ICANN DOMAINS===\n");
    }

    void Open(const std::string& server) {
        program.WriteSettings(
            "[general]\r\nexecute=false\r\nget_ie=false\r\nip_nei=0\r\n[whois]\r\n"
            "rdap_bootstrap=" +
            std::string(test::WhoisTestWorld::kRdapBootstrap) + "\r\nserver=" + server + "\r\n");
        auto services = program.Services();
        services.resolver = std::make_shared<SystemResolver>();
        services.whois.suffixes = PublicSuffixList::FromFile(program.folder.File("suffixes.dat"));
        window = std::make_unique<Tmain>(services);
    }

    void Query(const QString& url) {
        test::Ui(*window).url_edit->setEditText(url);
        window->goClick(test::Ui(*window).go);
    }

    QStringList Page() const { return test::Ui(*window).Memo3->toPlainText().split('\n'); }

    test::ScopedEnvironment trust{"SSL_CERT_FILE",
                                  test::TestCertificates::Get().RootFile().c_str()};
    test::FakeProgram program;
    std::unique_ptr<test::WhoisTestWorld> world;
    std::unique_ptr<Tmain> window;
};

TEST_F(WhoisChainWindowTest, ShowsTheRecordFromTheRightServersAfterTheirNames) {
    struct Case {
        const char* server;
        const char* url;
        QStringList page;
    };
    const Case cases[] = {
        {"",
         "www.example.thin",
         {"Domain Name: example.thin", "Registrar WHOIS Server: whois.registrar.test",
          "Updated Date: 2024-01-01T00:00:00Z", "--- whois.registrar.test ---",
          "Domain Name: example.thin", "Registrar: Test Registrar",
          "Registrar WHOIS Server: whois.registrar.test", "Registrant Organization: Test Shop",
          "Creation Date: 2001-02-03T04:05:06Z"}},
        {"",
         "www.referrer.test",
         {"Domain Name: referrer.test", "Registrar: Test Registry Registrar",
          "Registrar WHOIS Server: 127.0.0.1", "Creation Date: 2001-02-03T04:05:06Z",
          "--- referral to 127.0.0.1 not followed: 127.0.0.1 is a loopback address ---"}},
        {"whois.iana.org",
         "http://www.shop.co.test/",
         {"Domain Name: shop.co.test", "Registrar: Test Registry Registrar",
          "Creation Date: 2001-02-03T04:05:06Z"}},
        {"",
         "203.0.113.10",
         {"inetnum:        203.0.113.0 - 203.0.113.255", "netname:        TEST-NET-3",
          "descr:          asked about 203.0.113.10"}},
        {"whois.loop-b.test",
         "a.b.example.loop",
         {"Domain Name: example.loop", "Registrar: B", "refer: whois.loop-a.test",
          "Creation Date: 2001-02-03T04:05:06Z", "--- whois.loop-a.test ---",
          "Domain Name: example.loop", "Registrar: A", "refer: whois.loop-b.test",
          "Creation Date: 2001-02-03T04:05:06Z"}},
        {"",
         "www.example.moved",
         {"Domain Name: EXAMPLE.MOVED", "Registrar: Test Registrar",
          "Registered: 2001-02-03T04:05:06Z", "Expires: 2031-02-03T04:05:06Z",
          "Status: client transfer prohibited", "Name Server: NS1.EXAMPLE.MOVED",
          "--- rdap.registrar.test ---", "Domain Name: example.moved", "Registrar: Test Registrar",
          "Updated: 2024-01-01T00:00:00Z", "Registrant Organization: Test Shop",
          "Registrant Country: NL"}},
    };
    for (const auto& [server, url, page] : cases) {
        Open(server);
        Query(url);
        ASSERT_TRUE(test::PumpUntil([&] { return !window->CurrentRun()->WhoisRunning(); }));
        EXPECT_EQ(test::Ui(*window).Label5->text(), "Done!") << url;
        EXPECT_EQ(Page(), page) << url;
    }
    EXPECT_EQ(world->Connections("127.0.0.1"), 0) << "a public server's referral to it";
    const auto asked = world->RdapRequests("rdap.registrar.test");
    ASSERT_EQ(asked.size(), 1U);
    EXPECT_NE(asked[0].find("\r\nAccept: application/rdap+json\r\n"), std::string::npos)
        << asked[0];
}

TEST_F(WhoisChainWindowTest, ASecondQueryUnderTheSameSuffixAsksNoIana) {
    Open("");
    for (const char* url : {"www.example.thin", "shop.example.thin"}) {
        Query(url);
        ASSERT_TRUE(test::PumpUntil([&] { return !window->CurrentRun()->WhoisRunning(); }));
        EXPECT_EQ(Page().size(), 9) << url;
    }
    EXPECT_EQ(world->IanaConnections(), 1);
}

TEST_F(WhoisChainWindowTest, StopDuringTheSecondServerEndsTheChainAtOnce) {
    Open("");
    Query("www.example.silent");
    ASSERT_TRUE(test::PumpUntil([&] { return world->Connections("whois.silent.test") == 1; }));
    EXPECT_EQ(test::Ui(*window).Label5->text(), "Working, Please Wait...");
    test::Ui(*window).whois_stop->click();
    EXPECT_EQ(test::Ui(*window).Label5->text(), "Done!");
    EXPECT_TRUE(test::PumpUntil([&] { return window->CurrentRun()->Finished(); }));
    EXPECT_EQ(Page().first(), "Domain Name: example.silent");
}

}  // namespace
}  // namespace hostlore
