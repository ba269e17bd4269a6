#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>

#include <cctype>
#include <cstdio>

#include "net/http_client.h"
#include "net/tls_layer.h"
#include "platform/date_time.h"
#include "platform/user_time_format.h"
#include "support/fake_resolver.h"
#include "support/loopback_server.h"
#include "support/recording_server.h"
#include "support/scoped_environment.h"
#include "support/test_certificates.h"
#include "support/tls_handshake.h"

namespace hostlore {
namespace {

const std::string kReply = "HTTP/1.1 200 OK\r\nServer: Secure/1.0\r\n\r\n";

// A TLS server with one of the test authority's certificates, answering
// every request with kReply.
test::RecordingServer TlsHeadServer(const std::string& certificate, int maxVersion = 0,
                                    const std::string& address = "127.0.0.1") {
    return test::RecordingServer(
        "\r\n\r\n", test::ByTarget({}, kReply),
        {address, 0, test::TestCertificates::Get().Server(certificate), maxVersion});
}

class TlsClientTest : public ::testing::Test {
  protected:
    TlsClientTest() {
        for (const char* name :
             {"www.example.test", "expired.example.test", "future.example.test",
              "wrong.example.test", "self-signed.example.test", "untrusted.example.test"}) {
            resolver->Add(name, {name, {{127, 0, 0, 1}}});
        }
    }

    static std::string Url(const std::string& host, int port, const std::string& path = "/") {
        return "https://" + host + ":" + std::to_string(port) + path;
    }

    test::ScopedEnvironment trust{"SSL_CERT_FILE",
                                  test::TestCertificates::Get().RootFile().c_str()};
    test::ScopedEnvironment zone{"TZ", "UTC0"};
    std::shared_ptr<test::FakeResolver> resolver = std::make_shared<test::FakeResolver>();
    TNetHTTP http{resolver};
};

TEST_F(TlsClientTest, EveryCertificateIsJudgedAndTheHeadersAreReadAllTheSame) {
    struct Case {
        const char* certificate;
        const char* host;
        int maxVersion;
        TNetCertificateStatus status;
    };
    const Case cases[] = {
        {"valid", "www.example.test", 0, TNetCertificateStatus::Valid},
        {"valid", "www.example.test", TLS1_2_VERSION, TNetCertificateStatus::Valid},
        {"valid", "127.0.0.1", 0, TNetCertificateStatus::Valid},
        {"expired", "expired.example.test", 0, TNetCertificateStatus::Expired},
        {"future", "future.example.test", 0, TNetCertificateStatus::NotYetValid},
        {"wrong-name", "wrong.example.test", 0, TNetCertificateStatus::NameMismatch},
        {"valid", "127.0.0.2", 0, TNetCertificateStatus::NameMismatch},
        {"self-signed", "self-signed.example.test", 0, TNetCertificateStatus::SelfSigned},
        {"untrusted", "untrusted.example.test", 0, TNetCertificateStatus::IssuerNotTrusted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.certificate) + " as " + c.host);
        // An address is served at itself, a name at the loopback address.
        const std::string address = std::isdigit(c.host[0]) != 0 ? c.host : "127.0.0.1";
        const auto server = TlsHeadServer(c.certificate, c.maxVersion, address);
        TNetHTTP client(resolver);
        client.SendHead(Url(c.host, server.Port()));
        EXPECT_EQ(client.ReplyHeaders.Server, "Secure/1.0");
        ASSERT_TRUE(client.PeerCertificate.has_value());
        EXPECT_EQ(client.PeerCertificate->Status, c.status);
        EXPECT_EQ(client.PeerCertificate->Host, c.host);
    }
}

TEST_F(TlsClientTest, TheCertificatesNamesDatesAndFingerprintAreKept) {
    const auto valid = TlsHeadServer("valid");
    http.SendHead(Url("www.example.test", valid.Port()));
    const TNetCertificateInfo certificate = *http.PeerCertificate;
    EXPECT_EQ(certificate.Subject, "www.example.test");
    EXPECT_EQ(certificate.Issuer, "Hostlore Test Authority");

    // The end and the fingerprint as OpenSSL reads them from the file.
    const auto sent = test::CertificatesIn(test::TestCertificates::Get().Server("valid").chainFile);
    ASSERT_FALSE(sent.empty());
    int days = 0;
    int seconds = 0;
    ASN1_TIME_diff(&days, &seconds, nullptr, X509_get0_notAfter(sent[0].get()));
    EXPECT_NEAR(static_cast<double>(certificate.NotAfter - std::time(nullptr)),
                days * 86400.0 + seconds, 5);
    EXPECT_EQ(certificate.Sha256Fingerprint, test::Fingerprint(sent[0].get()));

    const auto expired = TlsHeadServer("expired");
    http.SendHead(Url("expired.example.test", expired.Port()));
    EXPECT_EQ(http.PeerCertificate->ExpiredOn, 1580515199) << "31 January 2020, 23:59:59 UTC";
}

TEST_F(TlsClientTest, TheHandshakeNamesTheHostOffersHttp11AndCarriesTheSameRequest) {
    const auto server = TlsHeadServer("valid");
    http.SendHead(Url("www.example.test", server.Port(), "/a/b?c=1#top"));
    http.SendHead(Url("127.0.0.1", server.Port()));
    const auto seen = server.Received();
    ASSERT_EQ(seen.size(), 2U);
    EXPECT_EQ(seen[0].serverName, "www.example.test");
    EXPECT_EQ(seen[0].protocol, "http/1.1");
    EXPECT_EQ(seen[0].text,
              "HEAD /a/b?c=1 HTTP/1.1\r\nHost: www.example.test:" + std::to_string(server.Port()) +
                  "\r\nAccept: text/html, */*\r\n"
                  "User-Agent: Mozilla/3.0 (compatible; Hostlore)\r\n\r\n");
    EXPECT_EQ(seen[1].serverName, "") << "an address is never sent as a server name";
}

TEST_F(TlsClientTest, TheHandshakeTellsWhatItSettledAndEveryCertificateSent) {
    const auto& authority = test::TestCertificates::Get();
    struct Case {
        const char* certificate;
        int maxVersion;
        const char* groups;
        bool staple;
        const char* group;
    };
    const Case cases[] = {
        {"valid", 0, "X25519", false, "x25519"},
        {"valid", 0, "P-384", true, "secp384r1"},
        {"valid", TLS1_2_VERSION, "P-256", false, "secp256r1"},
        {"rsa", TLS1_2_VERSION, "X25519", true, "x25519"},
        {"self-signed", 0, "X25519", false, "x25519"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.certificate) + " " + std::to_string(c.maxVersion) + " " +
                     c.groups);
        test::ServerOptions options{"127.0.0.1", 0, authority.Server(c.certificate), c.maxVersion};
        options.groups = c.groups;
        options.stapledResponseFile = c.staple ? authority.ValidOcspResponseFile() : "";
        const TNetTlsDetails details = test::HandshakeWith(options);
        EXPECT_EQ(details.KeyExchangeGroup, c.group);
        EXPECT_EQ(details.Protocol, "http/1.1");
        EXPECT_EQ(details.OcspStapled, c.staple);
        const auto sent = test::CertificatesIn(authority.Server(c.certificate).chainFile);
        ASSERT_EQ(details.Chain.size(), sent.size());
        for (std::size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(details.Chain[i].Sha256Fingerprint, test::Fingerprint(sent[i].get())) << i;
        }
    }
}

// As real sites answer plain HTTP.
TEST_F(TlsClientTest, ARedirectToHttpsEndsAtTheSecureServer) {
    const auto secure = TlsHeadServer("valid");
    const std::string secureUrl = Url("www.example.test", secure.Port(), "/");
    test::LoopbackServer plain([&](test::ServerConnection& peer) {
        peer.ReadUntil("\r\n\r\n");
        peer.Send("HTTP/1.1 301 Moved Permanently\r\nLocation: " + secureUrl + "\r\n\r\n");
    });
    http.SendHead("http://www.example.test:" + std::to_string(plain.Port()) + "/");
    EXPECT_EQ(http.ReplyHeaders.Server, "Secure/1.0");
    EXPECT_EQ(http.FinalURL, secureUrl);
    ASSERT_EQ(http.Hops.size(), 2U);
    EXPECT_EQ(http.Hops[0].ReplyCode, 301);
    ASSERT_TRUE(http.PeerCertificate.has_value());
    EXPECT_EQ(http.PeerCertificate->Status, TNetCertificateStatus::Valid);
}

TEST_F(TlsClientTest, AnHttpsUrlWithoutAPortGoesToPort443) {
    EXPECT_THROW(http.SendHead("https://127.0.0.1/"), ENetException);  // nobody listens there
    EXPECT_EQ(http.Port, 443);
    EXPECT_FALSE(http.PeerCertificate.has_value());
}

TEST_F(TlsClientTest, AConnectionIsReusedOnlyForTheSameScheme) {
    const auto server = TlsHeadServer("valid");
    http.SendHead(Url("127.0.0.1", server.Port()));
    http.SendHead(Url("127.0.0.1", server.Port(), "/again"));
    EXPECT_EQ(server.Requests().size(), 2U);
    EXPECT_TRUE(http.PeerCertificate.has_value()) << "kept with the reused connection";
    // The same host and port without TLS needs a connection of its own.
    EXPECT_ANY_THROW(http.SendHead("http://127.0.0.1:" + std::to_string(server.Port()) + "/"));
    EXPECT_FALSE(http.PeerCertificate.has_value());
}

// A body shown as the truth comes only from a server whose certificate passes
// the check; any other is left before the request is sent.
TEST_F(TlsClientTest, AGetThatNeedsAValidCertificateRefusesEveryOther) {
    const std::string refused = "Certificate not accepted: ";
    struct Case {
        const char* certificate;
        const char* host;
        std::string outcome;  // the body, or the failure
    };
    const Case cases[] = {
        {"valid", "www.example.test", "{}"},
        {"expired", "expired.example.test",
         refused + "expired on " + ShortDateText(*EncodeDate(2020, 1, 31))},
        {"future", "future.example.test", refused + "not yet valid"},
        {"wrong-name", "wrong.example.test", refused + "name does not match wrong.example.test"},
        {"self-signed", "self-signed.example.test", refused + "self-signed"},
        {"untrusted", "untrusted.example.test", refused + "issuer not trusted"},
    };
    for (const Case& c : cases) {
        const test::RecordingServer server(
            "\r\n\r\n", test::ByTarget({}, "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}"),
            {"127.0.0.1", 0, test::TestCertificates::Get().Server(c.certificate), 0});
        TNetHTTP client(resolver);
        client.RequireValidCertificate = true;
        std::string got;
        try {
            got = client.SendGet(Url(c.host, server.Port()), 100);
        } catch (const ENetCertificateRejected& error) {
            got = error.what();
        }
        EXPECT_EQ(got, c.outcome) << c.certificate;
        EXPECT_EQ(server.Requests().size(), c.outcome == "{}" ? 1U : 0U) << c.certificate;
    }
}

// As RDAP servers move their records; a trusted GET stays on https.
TEST_F(TlsClientTest, AGetFollowsRedirectsButATrustedOneNeverToPlainHttp) {
    const std::string body = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nhere";
    const test::RecordingServer plain("\r\n\r\n", test::ByTarget({{"/here", body}}));
    const std::string plainHere = plain.Url("/here");
    const test::RecordingServer secure(
        "\r\n\r\n",
        test::ByTarget({{"/moved", test::Redirect(301, "/here")},
                        {"/here", body},
                        {"/down", test::Redirect(302, plainHere)}}),
        {"127.0.0.1", 0, test::TestCertificates::Get().Server("valid"), 0});
    struct Case {
        const char* path;
        bool trusted;
        std::string outcome;  // the body, or the failure
        std::string finalUrl;
    };
    const Case cases[] = {
        {"/moved", true, "here", Url("www.example.test", secure.Port(), "/here")},
        {"/down", false, "here", plainHere},
        {"/down", true, "Redirect from HTTPS to HTTP refused.", ""},
    };
    for (const Case& c : cases) {
        TNetHTTP client(resolver);
        client.RequireValidCertificate = c.trusted;
        std::string got;
        try {
            got = client.SendGet(Url("www.example.test", secure.Port(), c.path), 100);
        } catch (const ENetInsecureRedirect& error) {
            got = error.what();
        }
        EXPECT_EQ(got, c.outcome) << c.path << (c.trusted ? " trusted" : "");
        EXPECT_EQ(client.FinalURL, c.finalUrl) << c.path;
    }
}

}  // namespace
}  // namespace hostlore
