#include "query/report/report_formats.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "query/report/json_writer.h"
#include "query/report/report_recorder.h"
#include "support/scoped_environment.h"

namespace hostlore {
namespace {

TEST(JsonString, KeepsValidUtf8AndEscapesEveryOtherByteAsALoneSurrogate) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", R"("plain")"},
        {"a\"b\\c", R"("a\"b\\c")"},
        {"line\r\n\t\x7f", R"("line\u000d\u000a\u0009\u007f")"},
        {"b\xc3\xbc"
         "cher \xe4\xbe\x8b \xf0\x9f\x98\x80",
         "\"b\xc3\xbc"
         "cher \xe4\xbe\x8b \xf0\x9f\x98\x80\""},
        {"latin1 \xfc!", R"("latin1 \udcfc!")"},
        {"\xc0\x80", R"("\udcc0\udc80")"},                      // an overlong NUL
        {"\xed\xa0\x80", R"("\udced\udca0\udc80")"},            // an encoded surrogate
        {"\xf4\x90\x80\x80", R"("\udcf4\udc90\udc80\udc80")"},  // past U+10FFFF
        {"cut \xe4\xbe", R"("cut \udce4\udcbe")"},
    };
    for (const auto& [bytes, literal] : cases) {
        EXPECT_EQ(JsonString(bytes), literal) << bytes;
    }
}

// 10 March 2021, 12:00 UTC.
class FixedClock : public Clock {
  public:
    std::chrono::system_clock::time_point Now() const override {
        return std::chrono::system_clock::from_time_t(1615377600);
    }
};

// A query of a host whose name and whois reply are not valid UTF-8, whose
// server request failed and whose record expires in 2031.
QueryReport SampleReport() {
    const test::ScopedEnvironment zone("TZ", "CET-1");
    ReportRecorder recorder;
    recorder.SetServiceCaption(0, "Service provided by Alexa");
    recorder.Begin("http://www.example.test/", FixedClock(), {"whois.example.test", 4343});
    const QueryViews& views = recorder.Views();
    views.generalInfo->Clear();
    views.generalInfo->AddAddressLine("192.0.2.10");
    views.generalInfo->AddAddressLine("2001:db8::10");
    views.generalInfo->AddAddressLine("192.0.2.11");
    views.generalInfo->SetLocation("United States");
    views.generalInfo->SetHostName("caf\xe9.example.test");
    views.generalInfo->ShowServerFailed("Connection refused.");
    views.generalInfo->SetCertificate("www.example.test, issued by CA, until 12/31/26: valid");
    HopReport redirect;
    redirect.url = "http://www.example.test/";
    redirect.status = 301;
    redirect.location = "https://www.example.test/";
    HopReport answer;
    answer.url = redirect.location;
    answer.status = 200;
    CertificateReport certificate;
    certificate.subject = "CN=www.example.test";
    certificate.notAfter = 1798761600;  // 2027-01-01
    certificate.daysLeft = 2123;
    certificate.verdict = "valid";
    views.generalInfo->RecordServerChain({{redirect, answer}, "AB:CD", certificate});
    views.whoisStatus->ShowRunning();
    WhoisFields fields;
    fields.registrar = "Test Registrar";
    fields.expires = 1927843200;  // 2031-02-03
    views.whois->RecordReply({"whois.example.test:4343",
                              "Domain: x\r\n\r\nOwner: M\xfcller\x1b]0;owned\x07\r\n", fields});
    const std::vector<std::string> lines = {"Domain: x\r", "\r",
                                            "Owner: M\xfcller\x1b]0;owned\x07\r"};
    views.whois->AppendReplyLines(lines);
    views.whoisStatus->ShowDone();
    views.servicePanes[0]->Navigate("http://info.example/?url=http://www.example.test/");
    views.scanStatus->ShowRunning();
    views.neighbourhood->AppendItem("192.0.2.9    X");
    views.neighbourhood->AppendItem("192.0.2.10    www.example.test");
    views.neighbourhood->AppendItem("192.0.2.11");
    recorder.LocalNetwork().ShowParameters({"Host Name: here", "DNS Servers: 192.0.2.53\r"});
    return recorder.Report();
}

TEST(ReportText, EachFieldAsItsCaptionAndWhatThePageShows) {
    const test::ScopedEnvironment dates("LC_TIME", "C");
    const std::string text = ReportText(SampleReport());
    const std::string general =
        "General Info\n"
        "This Website Located in: United States\n"
        "IP Address:\n192.0.2.10\n2001:db8::10\n192.0.2.11\n"
        "Host Name: caf\xc3\xa9.example.test\n"
        "Server Type: X\nLast Modified: X\nServer Date: X\nFinal Address: \n"
        "Certificate: www.example.test, issued by CA, until 12/31/26: valid\n"
        "Certificate SHA-256: AB:CD\n"
        "Redirects:\n301 http://www.example.test/ -> https://www.example.test/\n";
    const std::string whois =
        "Whois Info\n"
        "Whois Server: whois.example.test:4343\n"
        "Status: Done!\n"
        "Expires: 02/03/31 (3616 days left)\n"
        "Whois Info:\nDomain: x\n\nOwner: M\xc3\xbcller\\x1b]0;owned\\x07\n";
    for (const std::string& part :
         {std::string("Hostlore report\nURL: http://www.example.test/\n"
                      "Local time: 2021-03-10T13:00:00+01:00\n"
                      "Complete: no, the query was still running\n"),
          general, whois,
          std::string("Site Info\nService provided by Alexa\n"
                      "Address: http://info.example/?url=http://www.example.test/\n"),
          std::string("IP Neighborhood\nStatus: Working, Please Wait...\nIP Neighborhood:\n"
                      "192.0.2.9    X\n192.0.2.10    www.example.test\n192.0.2.11\n"),
          std::string("Local Network Parameters:\nHost Name: here\nDNS Servers: 192.0.2.53\n"
                      "Local Adapter Information:\n")}) {
        EXPECT_NE(text.find(part), std::string::npos) << part << "\nin\n" << text;
    }
    EXPECT_LT(text.find(general), text.find(whois));
}

TEST(ReportJson, RawTextsNullsWithReasonsAndNoMissingKeys) {
    const std::string json = ReportJson(SampleReport());
    QJsonParseError error{};
    const QJsonObject report =
        QJsonDocument::fromJson(QByteArray::fromStdString(json), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json;
    EXPECT_EQ(report["format"].toString(), "hostlore-report/2");
    EXPECT_FALSE(report["complete"].toBool(true));

    const QJsonObject general = report["general_info"].toObject();
    EXPECT_EQ(general["addresses"]["value"].toArray().size(), 3);
    EXPECT_TRUE(general["server_type"]["value"].isNull());
    EXPECT_EQ(general["server_type"]["reason"].toString(), "Connection refused.");
    EXPECT_EQ(general["final_address"]["reason"].toString(), "Connection refused.");
    EXPECT_EQ(general["certificate_sha256"]["value"].toString(), "AB:CD");
    EXPECT_EQ(general["redirects"][0]["status"].toInt(), 301);
    EXPECT_EQ(general["redirects"][0]["location"].toString(), "https://www.example.test/");
    // The byte 0xE9 the server sent comes back as U+DCE9.
    EXPECT_EQ(general["host_name"]["value"].toString(),
              QStringLiteral("caf") + QChar(0xDCE9) + QStringLiteral(".example.test"));

    EXPECT_EQ(general["ipv4"]["value"].toArray(), QJsonArray({"192.0.2.10", "192.0.2.11"}));
    EXPECT_EQ(general["ipv6"]["value"].toArray(), QJsonArray({"2001:db8::10"}));
    EXPECT_EQ(general["region"]["value"]["address"].toString(), "192.0.2.10");
    EXPECT_EQ(general["certificate_details"]["value"]["not_after"].toString(),
              "2027-01-01T00:00:00Z");
    EXPECT_EQ(general["certificate_details"]["value"]["days_left"].toInt(), 2123);
    EXPECT_EQ(general["hops"]["value"].toArray().size(), 2);
    // The replies carried no Date.
    EXPECT_EQ(general["server_date_utc"]["reason"].toString(), "not given");

    const QJsonObject whois = report["whois"].toObject();
    EXPECT_EQ(whois["server"].toString(), "whois.example.test:4343");
    EXPECT_EQ(whois["state"].toString(), "done");
    EXPECT_TRUE(whois["failure"].isNull());
    EXPECT_EQ(whois["answers"][0]["reply"].toString(),
              QStringLiteral("Domain: x\r\n\r\nOwner: M") + QChar(0xDCFC) +
                  QStringLiteral("ller\x1b]0;owned\x07\r\n"));
    EXPECT_EQ(whois["answers"][0]["fields"]["registrar"].toString(), "Test Registrar");
    EXPECT_TRUE(whois["answers"][0]["fields"]["created"].isNull());
    EXPECT_EQ(whois["record"]["expires"]["value"].toString(), "2031-02-03T00:00:00Z");
    EXPECT_TRUE(whois["record"]["created"]["value"].isNull());
    EXPECT_EQ(whois["record"]["created"]["reason"].toString(), "not given");

    const QJsonArray services = report["services"].toArray();
    ASSERT_EQ(services.size(), 4);
    EXPECT_EQ(services[1]["page"].toString(), "Whois Source");
    EXPECT_EQ(services[1]["url"]["reason"].toString(), "not navigated");

    const QJsonArray items = report["neighbourhood"]["items"].toArray();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]["reason"].toString(), "no name");
    EXPECT_EQ(items[1]["name"].toString(), "www.example.test");
    EXPECT_EQ(items[2]["reason"].toString(), "not looked up");
    EXPECT_EQ(report["local_network"]["adapters"]["reason"].toString(), "not known yet");
}

}  // namespace
}  // namespace hostlore
