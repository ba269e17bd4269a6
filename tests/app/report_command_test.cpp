#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QToolButton>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "app/main_window.h"
#include "app/report_program.h"
#include "dns/test_dns.h"
#include "net/http_client.h"
#include "platform/date_time.h"
#include "platform/user_time_format.h"
#include "support/event_pump.h"
#include "support/fake_services.h"
#include "support/recording_server.h"
#include "support/scoped_environment.h"
#include "support/test_certificates.h"
#include "support/test_web_world.h"
#include "support/whois_test_world.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

using test::JsonLines;
using test::LinesOf;
using test::Outcome;

// The program's report beside the window's pages for the same query.
class ReportCommandTest : public test::ReportProgramTest {
  protected:
    // What the window shows after a query typed into its URL box, under each
    // field's caption; a multi-line field's lines joined by line feeds.
    std::map<std::string, std::string> WindowShows(const QString& url) {
        auto services = program.Services();
        services.resolver = std::make_shared<SystemResolver>();
        Tmain window(services);
        const auto ui = test::Ui(window);
        ui.url_edit->setEditText(url);
        window.goClick(ui.go);
        EXPECT_TRUE(test::PumpUntil([&] { return window.CurrentRun()->Finished(); }, 20'000));
        const std::pair<const char*, QString> texts[] = {
            {"URL box", ui.url_edit->currentText()},
            {"Whois status", ui.Label5->text()},
            {"Scan status", ui.Label11->text()},
            {"This Website Located in", ui.Edit1->text()},
            {"Host Name", ui.Edit4->text()},
            {"Server Type", ui.Edit2->text()},
            {"Last Modified", ui.Edit3->text()},
            {"Server Date", ui.Edit5->text()},
            {"IP Address", ui.Memo1->toPlainText()},
            {"Whois Info", ui.Memo3->toPlainText()},
            {"Final Address", ui.FinalAddress->toPlainText()},
            {"Certificate", ui.Certificate->toPlainText()},
            {"Web Server", test::Find<QPlainTextEdit>(window, "WebServerText")->toPlainText()},
        };
        std::map<std::string, std::string> shown;
        for (const auto& [caption, text] : texts) {
            shown[caption] = text.toStdString();
        }
        QStringList items;
        for (int i = 0; i < ui.ListBox1->count(); ++i) {
            items << ui.ListBox1->item(i)->text();
        }
        shown["IP Neighborhood"] = items.join('\n').toStdString();
        return shown;
    }
};

// The lines below a caption line, up to the next empty line or caption.
std::vector<std::string> LinesBelow(const std::vector<std::string>& lines,
                                    const std::string& caption, std::size_t count) {
    const auto at = std::find(lines.begin(), lines.end(), caption);
    if (at == lines.end() || static_cast<std::size_t>(lines.end() - at) <= count) {
        return {};
    }
    return {at + 1, at + 1 + static_cast<std::ptrdiff_t>(count)};
}

std::vector<std::string> TextLines(const QString& text) {
    std::vector<std::string> lines;
    for (const QString& line : text.split('\n')) {
        lines.push_back(line.toStdString());
    }
    return lines;
}

TEST_F(ReportCommandTest, PrintsWhatTheWindowShowsForTheSameQuery) {
    const Outcome report = Run({"--report", "http://www.example.test/"});
    ASSERT_EQ(report.status, 0) << report.errors;
    auto shown = WindowShows("http://www.example.test/");

    const std::vector<std::string> lines = LinesOf(report.output);
    for (const char* caption :
         {"This Website Located in", "Host Name", "Server Type", "Last Modified", "Server Date"}) {
        EXPECT_FALSE(shown[caption].empty()) << caption;
        const std::string line = std::string(caption) + ": " + shown[caption];
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
    for (const char* caption : {"IP Address", "Whois Info", "IP Neighborhood"}) {
        const auto shownLines = TextLines(QString::fromStdString(shown[caption]));
        EXPECT_EQ(LinesBelow(lines, std::string(caption) + ":", shownLines.size()), shownLines)
            << caption;
    }
    EXPECT_EQ(TextLines(QString::fromStdString(shown["IP Neighborhood"])).size(), 5U);
    for (const char* status : {"Whois status", "Scan status"}) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), "Status: " + shown[status]), lines.end())
            << status;
    }
}

TEST_F(ReportCommandTest, EachJsonReportIsOneLineThatFollowsTheSchema) {
    const Outcome report = Run({"--report", "http://www.example.test/",
                                "http://nowhere.example.test/", "--json", "--neighbours", "4"});
    EXPECT_EQ(report.status, 1) << report.errors;
    const auto reports = JsonLines(report.output);
    ASSERT_EQ(reports.size(), 2U) << report.output;
    const QJsonObject general = reports[0]["general_info"].toObject();
    EXPECT_EQ(general["server_type"]["value"].toString(), "World/1.0");
    EXPECT_EQ(general["ipv4"]["value"].toArray(), QJsonArray{"192.0.2.10"});
    EXPECT_EQ(general["region"]["value"]["block"].toString(), "192.0.0.0/16");
    EXPECT_EQ(general["server_date_utc"]["value"].toString(), "1994-11-06T08:49:37Z");
    EXPECT_EQ(general["last_modified_utc"]["value"].toString(), "1994-11-05T10:00:00Z");
    const QJsonObject hop = general["hops"]["value"][0].toObject();
    EXPECT_EQ(hop["status_text"].toString(), "OK");
    EXPECT_EQ(hop["headers"][0]["name"].toString(), "Server");
    EXPECT_EQ(reports[1]["general_info"]["hops"]["reason"].toString(), "Host not found.");
    EXPECT_EQ(reports[0]["whois"]["record"]["registrar"]["value"].toString(), "Test Registrar");
    EXPECT_EQ(reports[1]["general_info"]["ipv4"]["reason"].toString(), "Website does not exist!");
    ExpectReportsFollowTheSchema(report.output);
}

// Every answer of the chain, under its whois server's name or the RDAP URL
// asked, with its reply as it came.
TEST_F(ReportCommandTest, AutomaticWhoisReportsEveryServerOfTheChain) {
    test::WhoisTestWorld world;
    program.WriteSettings(
        "[general]\r\nget_ie=false\r\nexecute=false\r\n[whois]\r\nrdap_bootstrap=" +
        std::string(test::WhoisTestWorld::kRdapBootstrap) + "\r\n" +
        test::TestTrustAnchorSetting());
    const QStringList environment = {
        "SSL_CERT_FILE=" + QString::fromStdString(test::TestCertificates::Get().RootFile()),
        "XDG_CACHE_HOME=" + QString::fromStdString(program.folder.File("cache").string())};
    const std::pair<const char*, QStringList> cases[] = {
        {"http://www.example.thin/", {"whois.iana.org", "whois.thin.test", "whois.registrar.test"}},
        {"http://www.example.nowhois/",
         {"whois.iana.org", "https://rdap.nic.test/domain/example.nowhois"}},
    };
    for (const auto& [url, servers] : cases) {
        const Outcome report = Run(
            {"--report", url, "--json", "--whois-server", "whois.iana.org", "--neighbours", "0"},
            environment);
        ASSERT_EQ(report.status, 0) << report.errors;
        const QJsonObject whois = QJsonDocument::fromJson(QByteArray::fromStdString(report.output))
                                      .object()
                                      .value("whois")
                                      .toObject();
        EXPECT_EQ(whois.value("state").toString(), "done") << url;
        QStringList asked;
        for (const auto& value : whois.value("answers").toArray()) {
            const QJsonObject answer = value.toObject();
            asked << answer.value("server").toString();
            const auto rdap = test::WhoisTestWorld::RdapObjects().find(asked.back().toStdString());
            if (rdap != test::WhoisTestWorld::RdapObjects().end()) {
                EXPECT_EQ(answer.value("reply").toString().toStdString(), rdap->second);
            }
        }
        EXPECT_EQ(asked, servers) << url;
        ExpectReportsFollowTheSchema(report.output);
    }
}

TEST_F(ReportCommandTest, ExitStatusesAndTheTimeLimit) {
    const struct {
        QStringList arguments;
        int status;
        const char* printed;  // in the output or on standard error
        qint64 withinMs;
    } cases[] = {
        {{"--report", "http://nowhere.example.test/"}, 1, "Website does not exist!", 20'000},
        // One usage error for its status and its words made safe; the parser's own table
        // has the others.
        {{"--bogus\x1b[2K"}, 2, "unknown option --bogus\\x1b[2K\n", 20'000},
        // silent.test never gets its answer: the limit ends the query.
        {{"--report", "http://silent.test/", "--whois-server", "192.0.2.44", "--timeout", "1",
          "--neighbours", "0"},
         1,
         "Status: Failed: Read timed out.",
         10'000},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Run(c.arguments);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.status, c.status) << name << '\n' << outcome.errors;
        EXPECT_NE((outcome.output + outcome.errors).find(c.printed), std::string::npos)
            << name << '\n'
            << outcome.output << outcome.errors;
        EXPECT_LT(outcome.milliseconds, c.withinMs) << name;
    }
}

// The test namespace's web, over HTTPS with the test authority's certificates.
class SecureSiteTest : public ReportCommandTest {
  protected:
    void SetUp() override {
        ReportCommandTest::SetUp();
        if (!IsSkipped()) {
            web.reset();  // the world serves www.example.test itself
            world = std::make_unique<test::TestWebWorld>();
        }
    }

    test::ScopedEnvironment trust{"SSL_CERT_FILE",
                                  test::TestCertificates::Get().RootFile().c_str()};
    test::ScopedEnvironment zone{"TZ", "UTC0"};
    std::unique_ptr<test::TestWebWorld> world;
};

TEST_F(SecureSiteTest, EachCertificateShowsItsOutcomeBesideTheFinalServersHeaders) {
    const std::string serverDate = ShortDateText(*EncodeDate(2026, 12, 1));
    const std::string issued = ", issued by Hostlore Test Authority, until ";
    struct Case {
        const char* url;
        const char* finalAddress;
        std::string certificateStart;
        std::string certificateEnd;
    };
    const Case cases[] = {
        {"http://www.example.test/", "https://www.example.test/", "www.example.test" + issued,
         ": valid"},
        {"https://expired.example.test/", "", "expired.example.test" + issued,
         ": expired on " + ShortDateText(*EncodeDate(2020, 1, 31))},
        {"https://future.example.test/", "", "future.example.test" + issued, ": not yet valid"},
        {"https://wrong.example.test/", "", "other.example.test" + issued,
         ": name does not match wrong.example.test"},
        {"https://self-signed.example.test/", "", "self-signed.example.test, issued by ",
         ": self-signed"},
        {"https://untrusted.example.test/", "", "untrusted.example.test, issued by Stranger",
         ": issuer not trusted"},
        {"http://relative.example.test/", "http://relative.example.test/next/page", "", ""},
    };
    for (const Case& c : cases) {
        auto shown = WindowShows(QString::fromUtf8(c.url));
        EXPECT_EQ(shown["Server Type"], test::TestWebWorld::kServerType) << c.url;
        EXPECT_EQ(shown["Server Date"], serverDate) << c.url;
        EXPECT_EQ(shown["Final Address"], c.finalAddress) << c.url;
        EXPECT_TRUE(shown["Certificate"].starts_with(c.certificateStart)) << shown["Certificate"];
        EXPECT_TRUE(shown["Certificate"].ends_with(c.certificateEnd)) << shown["Certificate"];
    }
    for (const char* refused : {"http://loop.example.test/", "http://ftp.example.test/"}) {
        auto shown = WindowShows(QString::fromUtf8(refused));
        for (const char* field : {"Server Type", "Last Modified", "Server Date", "Certificate"}) {
            EXPECT_EQ(shown[field], "X") << refused << ' ' << field;
        }
        EXPECT_EQ(shown["Final Address"], "") << refused;
    }
}

TEST_F(SecureSiteTest, TheReportCarriesTheChainTheCertificateAndItsFingerprint) {
    const Outcome report = Run({"--report", "http://www.example.test/", "--no-whois"});
    ASSERT_EQ(report.status, 0) << report.errors;
    const auto shown = WindowShows("http://www.example.test/");
    const std::vector<std::string> lines = LinesOf(report.output);
    for (const char* caption : {"Final Address", "Certificate"}) {
        const std::string line = std::string(caption) + ": " + shown.at(caption);
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
    EXPECT_EQ(
        LinesBelow(lines, "Redirects:", 1),
        std::vector<std::string>{"301 http://www.example.test/ -> https://www.example.test/"});
    const auto sha256 = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("Certificate SHA-256: ");
    });
    ASSERT_NE(sha256, lines.end());
    EXPECT_EQ(sha256->size(), std::string("Certificate SHA-256: ").size() + 95);
}

TEST_F(SecureSiteTest, EachCertificateAsValuesBesideItsSummary) {
    const struct {
        const char* url;
        const char* verdict;  // null: no certificate, for the reason given
        const char* reason;
    } cases[] = {
        {"http://www.example.test/", "valid", nullptr},
        {"https://expired.example.test/", "expired", nullptr},
        {"https://future.example.test/", "not_yet_valid", nullptr},
        {"https://wrong.example.test/", "name_mismatch", nullptr},
        {"https://self-signed.example.test/", "self_signed", nullptr},
        {"https://untrusted.example.test/", "issuer_not_trusted", nullptr},
        {"http://relative.example.test/", nullptr, "answered over plain HTTP"},
        {"https://stall.example.test/", nullptr, "Read timed out."},
    };
    QStringList arguments = {"--report", "--json", "--no-whois", "--timeout", "2"};
    for (const auto& c : cases) {
        arguments << c.url;
    }
    const Outcome run = Run(arguments);
    const auto reports = JsonLines(run.output);
    ASSERT_EQ(reports.size(), std::size(cases)) << run.errors;
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const QJsonObject details = reports[i]["general_info"]["certificate_details"].toObject();
        if (c.verdict == nullptr) {
            EXPECT_EQ(details["reason"].toString(), c.reason) << c.url;
            continue;
        }
        const QJsonObject certificate = details["value"].toObject();
        EXPECT_EQ(certificate["verdict"].toString(), c.verdict) << c.url;
        EXPECT_TRUE(certificate["subject"].toString().contains("CN=")) << c.url;
        EXPECT_EQ(certificate["sha256"].toString(),
                  reports[i]["general_info"]["certificate_sha256"]["value"].toString());
        const QDateTime notAfter =
            QDateTime::fromString(certificate["not_after"].toString(), Qt::ISODate);
        EXPECT_EQ(certificate["days_left"].toInteger(),
                  static_cast<qint64>(std::floor((notAfter.toSecsSinceEpoch() - now) / 86400.0)))
            << c.url;
    }
    const QJsonArray names =
        reports[0]["general_info"]["certificate_details"]["value"]["subject_alternative_names"]
            .toArray();
    EXPECT_TRUE(names.contains("www.example.test")) << run.output;
    ExpectReportsFollowTheSchema(run.output);
}

TEST_F(SecureSiteTest, AServerThatStopsAfterTheClientHelloEndsWithTheTimeLimit) {
    const Outcome report = Run({"--report", "https://stall.example.test/", "--no-whois",
                                "--neighbours", "0", "--timeout", "1"});
    EXPECT_LT(report.milliseconds, 10'000);
    const std::vector<std::string> lines = LinesOf(report.output);
    for (const char* line : {"Server Type: X", "Certificate: X", "Final Address: "}) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << report.output;
    }
}

TEST_F(ReportCommandTest, AReportOverHttpLoadsNoGraphicalLibraryAndNoTls) {
    const Outcome outcome = Run({"--report", "http://www.example.test/", "--no-whois"},
                                {QStringLiteral("LD_DEBUG=libs")});
    ASSERT_EQ(outcome.status, 0);
    for (const char* library :
         {"libQt6Gui", "libX11", "libxcb", "libQt6Widgets", "libEGL", "libssl", "libcrypto"}) {
        EXPECT_EQ(outcome.errors.find(std::string("find library=") + library), std::string::npos)
            << library;
    }
    EXPECT_NE(outcome.output.find("Status: \n"), std::string::npos) << "whois was not asked";
}

// Hosts of today's Internet in the test namespace: an international name
// under an international top-level domain, a host with IPv6 addresses only, an
// IPv6 literal, and a host with both families whose IPv6 address refuses
// connections. Each web server notes the Host header it was sent.
class ModernHostsTest : public ReportCommandTest {
  protected:
    void SetUp() override {
        ReportCommandTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        for (const char* address : {"192.0.2.41", "2001:db8::30", "2001:db8::10", "192.0.2.20"}) {
            servers[address] = std::make_unique<test::RecordingServer>(
                "\r\n\r\n", test::Always("HTTP/1.1 200 OK\r\nServer: Modern/1.0\r\n\r\n"),
                test::ServerOptions{address, 80});
        }
    }

    // The Host header of the last request the server at `address` read.
    std::string HostHeaderAt(const std::string& address) const {
        const std::vector<std::string> requests = servers.at(address)->Requests();
        if (requests.empty()) {
            return "";
        }
        const std::string& request = requests.back();
        const auto start = request.find("\r\nHost: ") + 8;
        return request.substr(start, request.find("\r\n", start) - start);
    }

    std::map<std::string, std::unique_ptr<test::RecordingServer>> servers;
};

// The name server turns a name's records round from one question to the next.
std::vector<std::string> Sorted(std::vector<std::string> lines) {
    std::ranges::sort(lines);
    return lines;
}

TEST_F(ModernHostsTest, WindowAndReportShowTheAddressesNamesAndServersOfEachHost) {
    const struct {
        const char* url;
        const char* server;  // the address that answers
        const char* addresses;
        const char* hostName;
        const char* hostHeader;
    } cases[] = {
        {"http://例え.テスト/", "192.0.2.41", "192.0.2.41", "例え.テスト (xn--r8jz45g.xn--zckzah)",
         "xn--r8jz45g.xn--zckzah"},
        {"http://v6only.example.test/", "2001:db8::30", "2001:db8::30\n2001:db8::31",
         "v6only.example.test", "v6only.example.test"},
        {"http://[2001:db8::10]/", "2001:db8::10", "2001:db8::10", "2001:db8::10",
         "[2001:db8::10]"},
        {"http://dual.example.test/", "192.0.2.20", "192.0.2.20\n2001:db8::20", "dual.example.test",
         "dual.example.test"},
    };
    for (const auto& c : cases) {
        const QString url = QString::fromUtf8(c.url);
        auto shown = WindowShows(url);
        EXPECT_EQ(shown["URL box"], c.url);
        EXPECT_EQ(Sorted(TextLines(QString::fromStdString(shown["IP Address"]))),
                  Sorted(TextLines(QString::fromUtf8(c.addresses))))
            << c.url;
        EXPECT_EQ(shown["Host Name"], c.hostName) << c.url;
        EXPECT_EQ(shown["Server Type"], "Modern/1.0") << c.url;
        EXPECT_EQ(HostHeaderAt(c.server), c.hostHeader) << c.url;
        const bool ipv6Only = std::string(c.addresses).find('.') == std::string::npos;
        EXPECT_EQ(shown["This Website Located in"] == "IPv6 only", ipv6Only) << c.url;
        EXPECT_EQ(shown["IP Neighborhood"] == "No IPv4 address to scan around", ipv6Only) << c.url;

        const Outcome report = Run({"--report", url, "--no-whois"});
        EXPECT_EQ(report.status, 0) << c.url << '\n' << report.errors;
        const std::vector<std::string> lines = LinesOf(report.output);
        for (const char* caption : {"This Website Located in", "Host Name", "Server Type"}) {
            const std::string line = std::string(caption) + ": " + shown[caption];
            EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
        }
        const auto addresses = TextLines(QString::fromStdString(shown["IP Address"]));
        EXPECT_EQ(Sorted(LinesBelow(lines, "IP Address:", addresses.size())), Sorted(addresses))
            << c.url;
        EXPECT_EQ(LinesBelow(lines, "IP Neighborhood:", 1),
                  std::vector{TextLines(QString::fromStdString(shown["IP Neighborhood"]))[0]});
    }
}

TEST_F(ModernHostsTest, TheAddressesOfEachFamilyApartAndNoNeighboursWithoutIpv4) {
    const Outcome run = Run({"--report", "--json", "--no-whois", "--neighbours", "2",
                             "http://v6only.example.test/", "http://dual.example.test/"});
    const auto reports = JsonLines(run.output);
    ASSERT_EQ(reports.size(), 2U) << run.errors;
    const QJsonObject v6only = reports[0]["general_info"].toObject();
    EXPECT_EQ(v6only["ipv4"]["value"].toArray(), QJsonArray{});
    EXPECT_EQ(v6only["ipv6"]["value"].toArray().size(), 2);
    EXPECT_EQ(v6only["region"]["reason"].toString(), "no IPv4 address");
    EXPECT_EQ(reports[0]["neighbourhood"]["items"].toArray(), QJsonArray{});
    EXPECT_EQ(reports[0]["neighbourhood"]["not_scanned"].toString(),
              "No IPv4 address to scan around");
    EXPECT_EQ(reports[1]["general_info"]["ipv4"]["value"].toArray(), QJsonArray{"192.0.2.20"});
    EXPECT_EQ(reports[1]["general_info"]["ipv6"]["value"].toArray(), QJsonArray{"2001:db8::20"});
    EXPECT_EQ(reports[1]["neighbourhood"]["items"].toArray().size(), 3);
    ExpectReportsFollowTheSchema(run.output);
}

TEST_F(ModernHostsTest, WhoisIsAskedForTheAsciiFormOfAnInternationalName) {
    const auto shown = WindowShows(QString::fromUtf8("http://例え.テスト/"));
    EXPECT_EQ(whois->Requests(), std::vector<std::string>{"xn--r8jz45g.xn--zckzah\r\n"});
    EXPECT_NE(shown.at("Whois Info").find("Domain Name: xn--r8jz45g.xn--zckzah"), std::string::npos)
        << shown.at("Whois Info");
}

TEST_F(ModernHostsTest, AWhoisServerWithAnIpv6AddressOnlyIsReached) {
    const test::RecordingServer whois6("\r\n", test::ScriptedWhoisReply,
                                       test::ServerOptions{"2001:db8::43", 43});
    const Outcome report = Run({"--report", "http://v6only.example.test/", "--whois-server",
                                "whois6.example.test", "--neighbours", "0"});
    EXPECT_EQ(report.status, 0) << report.errors;
    EXPECT_EQ(whois6.Requests(), std::vector<std::string>{"example.test\r\n"});
    const std::vector<std::string> lines = LinesOf(report.output);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Domain Name: example.test"), lines.end())
        << report.output;
}

TEST_F(ModernHostsTest, AnIpv6AddressThatRefusesLeavesTheIpv4OneToAnswerWithinTheHeadStart) {
    const auto resolver = std::make_shared<SystemResolver>();
    const HostLookup lookup = resolver->LookupName("dual.example.test");
    ASSERT_TRUE(lookup.entry);
    ASSERT_TRUE(lookup.entry->ipv6First) << "the refusing address must be tried first";
    TNetHTTP client(resolver);
    const auto start = std::chrono::steady_clock::now();
    client.SendHead("http://dual.example.test/");
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(client.ConnectHeadStartMs));
    EXPECT_EQ(HostHeaderAt("192.0.2.20"), "dual.example.test");
}

// Debian's nginx and Apache in the test namespace (web_servers/), asked
// through the real window and the report; the 103 comes from a server of the
// suite's own, as neither sends one by itself over HTTP/1.1.
class RealServersTest : public ReportCommandTest {
  protected:
    void SetUp() override {
        ReportCommandTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        if (qgetenv("HOSTLORE_TEST_WEB_SERVERS") != "1") {
            GTEST_SKIP() << "needs nginx and apache2, started by web_servers/with_web_servers.sh";
        }
        hints = std::make_unique<test::RecordingServer>(
            "\r\n\r\n",
            test::Always("HTTP/1.1 103 Early Hints\r\nLink: </a.css>; rel=preload\r\n\r\n"
                         "HTTP/1.1 200 OK\r\nServer: Hinted/1.0\r\n\r\n"),
            test::ServerOptions{"192.0.2.32", 80});
    }

    // The report's JSON field of General Info: its value, else its reason.
    std::string ReportField(const std::string& url, const char* key) {
        const Outcome report = Run(
            {"--report", QString::fromStdString(url), "--json", "--no-whois", "--neighbours", "0"},
            {"TZ=" + QString::fromLatin1(kZone)});
        const QJsonObject field = QJsonDocument::fromJson(QByteArray::fromStdString(report.output))
                                      .object()["general_info"]
                                      .toObject()[key]
                                      .toObject();
        return (field["value"].isString() ? field["value"] : field["reason"])
            .toString()
            .toStdString();
    }

    // The connections nginx noted for the requests so far, in order.
    static std::vector<std::string> NginxConnections() {
        std::ifstream log(qgetenv("HOSTLORE_TEST_NGINX_LOG").toStdString());
        std::vector<std::string> connections;
        for (std::string line; std::getline(log, line);) {
            connections.push_back(line.substr(0, line.find(' ')));
        }
        return connections;
    }

    // Daylight saving time in force from March to October, as in Europe.
    static constexpr const char* kZone = "AAA-1BBB,M3.5.0,M10.5.0/3";
    test::ScopedEnvironment trust{"SSL_CERT_FILE", qgetenv("HOSTLORE_TEST_WEB_CA").constData()};
    test::ScopedEnvironment zone{"TZ", kZone};
    std::unique_ptr<test::RecordingServer> hints;
};

TEST_F(RealServersTest, TheWindowAndTheReportShowWhatRealServersAnswer) {
    struct Case {
        const char* name;
        std::string url;
        const char* caption;
        const char* key;
        std::string shown;   // the start of what the window shows and the report's value
        std::string reason;  // the report's reason when the window shows X
    };
    const Case cases[] = {
        {"a trailing slash on another port", "http://apache.example.test:8080/dir", "Final Address",
         "final_address", "http://apache.example.test:8080/dir/", ""},
        {"HEAD refused", "http://nginx.example.test/no-head", "Server Type", "server_type",
         "nginx/", ""},
        {"an interim reply", "http://hints.example.test/", "Server Type", "server_type",
         "Hinted/1.0", ""},
        {"a redirect loop", "http://nginx.example.test/loop-a", "Server Type", "server_type", "X",
         "Redirect loop."},
        {"six redirects", "http://nginx.example.test/many1", "Server Type", "server_type", "X",
         "Too many redirects."},
        {"a missing page", "https://nginx.example.test/missing", "Server Type", "server_type", "X",
         "404 Not Found."},
    };
    for (const Case& c : cases) {
        const std::string shown = WindowShows(QString::fromStdString(c.url))[c.caption];
        EXPECT_TRUE(shown.starts_with(c.shown)) << c.name << ": " << shown;
        const std::string reported = ReportField(c.url, c.key);
        EXPECT_TRUE(reported.starts_with(c.reason.empty() ? c.shown : c.reason))
            << c.name << ": " << reported;
    }
}

// A chain of three redirects on the default port opens one connection, in
// the window as in the report.
TEST_F(RealServersTest, AChainOnTheDefaultPortKeepsItsConnection) {
    for (int run = 0; run < 2; ++run) {
        const std::size_t before = NginxConnections().size();
        const std::string finalAddress =
            run == 0 ? WindowShows("http://nginx.example.test/hop1")["Final Address"]
                     : ReportField("http://nginx.example.test/hop1", "final_address");
        EXPECT_EQ(finalAddress, "http://nginx.example.test/") << run;
        const auto connections = NginxConnections();
        ASSERT_EQ(connections.size(), before + 4) << run;
        EXPECT_EQ(std::set<std::string>(connections.begin() + before, connections.end()).size(), 1U)
            << run;
    }
}

// nginx closes a kept connection after a second; the next request must not
// be lost with it.
TEST_F(RealServersTest, AConnectionTheServerClosedWhileIdleIsReplaced) {
    TNetHTTP client(std::make_shared<SystemResolver>());
    client.SendHead("http://nginx.example.test/");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_NO_THROW(client.SendHead("http://nginx.example.test/dated.html"));
    const auto connections = NginxConnections();
    ASSERT_GE(connections.size(), 2U);
    EXPECT_NE(connections[connections.size() - 2], connections.back());
}

// 22:30 in UTC is the next day where, at that instant, daylight saving time
// is in force, and the same day where it is not: a date of the season that
// is not today's tells the two rules apart.
TEST_F(RealServersTest, TheLastModificationFallsOnTheDayOfItsOwnInstant) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::tzset();
    ::localtime_r(&now, &local);
    const bool summerNow = local.tm_isdst > 0;
    // 15 July or 15 January 2026, 22:30 UTC.
    const std::time_t instant = summerNow ? 1768516200 : 1784154600;
    const std::filesystem::path file =
        qgetenv("HOSTLORE_TEST_WEB_ROOT").toStdString() + "/dated.html";
    const timespec times[2] = {{instant, 0}, {instant, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    test::ScopedEnvironment allLocale("LC_ALL", "");
    test::ScopedEnvironment format("LC_TIME", "en_US.UTF-8");
    const std::string day = summerNow ? "01/15/2026" : "07/16/2026";
    EXPECT_EQ(WindowShows("http://nginx.example.test/dated.html")["Last Modified"], day);
    const Outcome report =
        Run({"--report", "http://nginx.example.test/dated.html", "--no-whois", "--neighbours", "0"},
            {"TZ=" + QString::fromLatin1(kZone), "LC_TIME=en_US.UTF-8"});
    EXPECT_NE(report.output.find("Last Modified: " + day + "\n"), std::string::npos)
        << report.output;
}

TEST_F(RealServersTest, WithoutTheTlsModuleTheCertificateSaysWhy) {
    std::filesystem::remove(program.folder.File("libhostlore_tls.so"));
    const Outcome report =
        Run({"--report", "https://nginx.example.test/", "--no-whois", "--neighbours", "0"});
    const std::vector<std::string> lines = LinesOf(report.output);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Certificate: Secure connections are not available: libhostlore_tls.so "
                        "was not found."),
              lines.end())
        << report.output;
}

// The lines of `lines` from the one after `first` to the one before `next`.
std::vector<std::string> LinesBetween(const std::vector<std::string>& lines,
                                      const std::string& first, const std::string& next) {
    const auto start = std::find(lines.begin(), lines.end(), first);
    if (start == lines.end()) {
        return {};
    }
    return {start + 1, std::find(start + 1, lines.end(), next)};
}

// Each expected line starts a line of `lines`, in order.
bool StartLinesInOrder(const std::vector<std::string>& lines,
                       const std::vector<std::string>& expected) {
    auto line = lines.begin();
    for (const std::string& start : expected) {
        line = std::find_if(line, lines.end(),
                            [&](const std::string& l) { return l.starts_with(start); });
        if (line == lines.end()) {
            return false;
        }
        ++line;
    }
    return true;
}

// The Web Server page in the window and in the report, a row for each of its
// sections, against the real servers.
TEST_F(RealServersTest, TheWindowAndTheReportShowEverySectionOfTheWebServerPage) {
    const std::string guarded = "https://nginx.example.test/guarded";
    const std::string servers = "CN=Hostlore Test Servers, O=Hostlore Test Authority";
    struct Case {
        const char* section;
        std::string url;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"each hop",
         guarded + "-start",
         {"Hop 1: HEAD " + guarded + "-start", "  HTTP/1.1 301 Moved Permanently (",
          "  Server: nginx/", "  Location: " + guarded, "Hop 2: HEAD " + guarded,
          "  HTTP/1.1 200 OK (", "  Set-Cookie: session=(value not shown); Path=/; Secure",
          "  Alt-Svc: h3="}},
        {"the security headers",
         guarded + "-start",
         {"Security Headers", "  Strict-Transport-Security: max-age 365 days, includeSubDomains",
          "  Content-Security-Policy: default-src 'self'", "  X-Frame-Options: DENY",
          "  X-Content-Type-Options: nosniff", "  Referrer-Policy: no-referrer",
          "  Permissions-Policy: absent", "  Cross-Origin-Opener-Policy: absent",
          "  Cookie session: Secure, HttpOnly, SameSite=Lax",
          "  Cookie theme: not Secure, not HttpOnly, SameSite not set"}},
        {"HTTP versions of nginx",
         guarded,
         {"HTTP Versions", "  HTTP/2: accepted", "  HTTP/3: advertised (Alt-Svc: h3=\":443\""}},
        {"HTTP versions of Apache",
         "https://apache.example.test/",
         {"  HTTP/2: not accepted", "  HTTP/3: not advertised"}},
        {"TLS and the chain sent",
         guarded,
         {"TLS", "  Version: TLSv1.",
          "  Cipher: ", "  Key exchange group: ", "  OCSP response stapled: yes",
          "  Certificate 1 of 2", "    Subject: CN=nginx.example.test",
          "    Names: nginx.example.test, apache.example.test", "    Issuer: " + servers,
          "    Valid from ", "    Key: EC 256 bits (prime256v1)",
          "    Signature: ecdsa-with-SHA256", "    SHA-256: ", "  Certificate 2 of 2",
          "    Subject: " + servers}},
        {"no stapled response", "https://apache.example.test/", {"  OCSP response stapled: no"}},
        {"a 403 with headers",
         "http://nginx.example.test/forbidden",
         {"Hop 1: HEAD http://nginx.example.test/forbidden", "  HTTP/1.1 403 Forbidden (",
          "  X-Frame-Options: SAMEORIGIN", "Security Headers", "  X-Frame-Options: SAMEORIGIN",
          "  HTTP/2: not checked: the reply came over plain HTTP",
          "TLS: none, the reply came over plain HTTP"}},
    };
    for (const Case& c : cases) {
        const Outcome report =
            Run({"--report", QString::fromStdString(c.url), "--no-whois", "--neighbours", "0"});
        const std::vector<std::string> lines = LinesOf(report.output);
        const std::vector<std::string> page = LinesBetween(lines, "Web Server", "Whois Info");
        EXPECT_TRUE(StartLinesInOrder(page, c.lines)) << c.section << ":\n" << report.output;
        EXPECT_EQ(report.output.find("s3cr3t"), std::string::npos) << c.section;
        const std::string shown = WindowShows(QString::fromStdString(c.url))["Web Server"];
        EXPECT_TRUE(StartLinesInOrder(LinesOf(shown + '\n'), c.lines)) << c.section << ":\n"
                                                                       << shown;
        EXPECT_EQ(shown.find("s3cr3t"), std::string::npos) << c.section;
    }
    // General Info keeps its marks for a reply it does not take.
    const Outcome forbidden =
        Run({"--report", "http://nginx.example.test/forbidden", "--no-whois", "--neighbours", "0"});
    const std::vector<std::string> lines = LinesOf(forbidden.output);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Server Type: X"), lines.end());
}

TEST_F(RealServersTest, TheJsonReportTypesTheWebServerPage) {
    const Outcome report = Run({"--report", "https://nginx.example.test/guarded-start", "--json",
                                "--no-whois", "--neighbours", "0"});
    ExpectReportsFollowTheSchema(report.output);
    const QJsonObject web = QJsonDocument::fromJson(QByteArray::fromStdString(report.output))
                                .object()["web_server"]
                                .toObject();
    EXPECT_EQ(web["hops"].toArray().size(), 2);
    EXPECT_EQ(web["hops"][0]["status"].toInt(), 301);
    const QJsonObject security = web["security"].toObject();
    EXPECT_EQ(security["strict_transport_security"]["max_age_seconds"].toInteger(), 31536000);
    EXPECT_EQ(security["cookies"][0]["same_site"].toString(), "Lax");
    EXPECT_TRUE(web["http2"]["accepted"].toBool());
    EXPECT_TRUE(web["http3"]["advertised"].toBool());
    EXPECT_TRUE(web["tls"]["ocsp_stapled"].toBool());
    EXPECT_EQ(web["tls"]["chain"].toArray().size(), 2);
    EXPECT_EQ(report.output.find("s3cr3t"), std::string::npos);
}

}  // namespace
}  // namespace hostlore
