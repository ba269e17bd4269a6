#include "query/web_server/web_server_json.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace hostlore {
namespace {

QJsonObject Written(const WebServerReport& report) {
    JsonWriter json;
    WriteWebServer(json, report);
    QJsonParseError error{};
    QJsonObject object =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.Text()), &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.Text();
    return object;
}

TEST(WebServerJson, EveryFindingTypedAndNullWhereThereIsNone) {
    WebServerReport report;
    report.finished = true;
    report.hops = {{"https://www.example.test/",
                    "HEAD",
                    403,
                    "403 Forbidden",
                    "HTTP/1.1",
                    {{"Set-Cookie", "id=secret; Secure"}, {"server", "caf\xe9"}},
                    12.6,
                    "",
                    "TLSv1.2",
                    "ECDHE-RSA-AES128-GCM-SHA256"}};
    report.security = SecuritySummary{{{"X-Frame-Options", "DENY"}, {"Referrer-Policy", {}}},
                                      StrictTransport{std::nullopt, true, false},
                                      {{"id", true, false, ""}}};
    report.http2 = {false, ""};
    report.altSvc = "h3=\":443\"";
    report.http3Advertised = true;
    TNetChainCertificate leaf;
    leaf.SubjectAltNames = {"www.example.test", "192.0.2.1"};
    leaf.NotBefore = 0;
    leaf.NotAfter = 1580515199;
    leaf.KeyType = "RSA";
    leaf.KeyBits = 2048;
    report.tls = TNetTlsDetails{"", "", true, {leaf}};

    const QJsonObject web = Written(report);
    EXPECT_TRUE(web["finished"].toBool());
    EXPECT_TRUE(web["failure"].isNull());
    const QJsonObject hop = web["hops"][0].toObject();
    EXPECT_EQ(hop["status"].toInt(), 403);
    EXPECT_EQ(hop["milliseconds"].toInt(), 13);
    EXPECT_TRUE(hop["location"].isNull());
    EXPECT_EQ(hop["headers"][1]["name"].toString(), "server") << "the case as sent";
    EXPECT_EQ(hop["headers"][1]["value"].toString(), QStringLiteral("caf") + QChar(0xDCE9));
    const QJsonObject security = web["security"].toObject();
    EXPECT_EQ(security["headers"]["X-Frame-Options"].toString(), "DENY");
    EXPECT_TRUE(security["headers"]["Referrer-Policy"].isNull());
    EXPECT_TRUE(security["strict_transport_security"]["max_age_seconds"].isNull());
    EXPECT_TRUE(security["strict_transport_security"]["include_subdomains"].toBool());
    EXPECT_EQ(security["cookies"][0]["name"].toString(), "id");
    EXPECT_TRUE(security["cookies"][0]["same_site"].isNull());
    EXPECT_FALSE(web["http2"]["accepted"].toBool(true));
    EXPECT_TRUE(web["http2"]["reason"].isNull());
    EXPECT_TRUE(web["http3"]["advertised"].toBool());
    const QJsonObject tls = web["tls"].toObject();
    EXPECT_EQ(tls["version"].toString(), "TLSv1.2") << "the last hop's";
    EXPECT_TRUE(tls["key_exchange_group"].isNull());
    EXPECT_TRUE(tls["ocsp_stapled"].toBool());
    const QJsonObject certificate = tls["chain"][0].toObject();
    EXPECT_EQ(certificate["not_before"].toString(), "1970-01-01T00:00:00Z");
    EXPECT_EQ(certificate["not_after"].toString(), "2020-01-31T23:59:59Z");
    EXPECT_EQ(certificate["key_bits"].toInt(), 2048);
    EXPECT_TRUE(certificate["key_curve"].isNull());
    EXPECT_EQ(certificate["subject_alt_names"].toArray().size(), 2);

    const QJsonObject running = Written(WebServerReport{});
    EXPECT_FALSE(running["finished"].toBool(true));
    for (const char* none : {"security", "tls"}) {
        EXPECT_TRUE(running[none].isNull()) << none;
    }
    EXPECT_TRUE(running["http2"]["accepted"].isNull());
    EXPECT_TRUE(running["http3"]["alt_svc"].isNull());
}

}  // namespace
}  // namespace hostlore
