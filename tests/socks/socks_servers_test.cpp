#include <gtest/gtest.h>

#include <cstdlib>

#include "net/http_client.h"
#include "net/socks_errors.h"
#include "net/whois_client.h"
#include "support/fake_resolver.h"
#include "support/loopback_server.h"
#include "support/recording_server.h"
#include "support/scoped_environment.h"
#include "support/test_certificates.h"

namespace hostlore {
namespace {

// A name that only the SOCKS servers' namespace knows (socks/with_socks_servers.sh).
constexpr const char* kProxyOnlyName = "target.socks.test";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

struct Proxy {
    const char* name;
    TSocksVersion version;
    const char* portVariable;
    bool withPassword;
    // SOCKS 4 carries an address only; the others take the name to the proxy.
    const char* target;
};

const Proxy kMicrosocks = {"microsocks, SOCKS 5 with a password", TSocksVersion::svSocks5,
                           "HOSTLORE_TEST_MICROSOCKS_PORT", true, kProxyOnlyName};
const Proxy kProxies[] = {
    {"dante, SOCKS 4", TSocksVersion::svSocks4, "HOSTLORE_TEST_DANTE_PORT", false, "127.0.0.1"},
    {"dante, SOCKS 5", TSocksVersion::svSocks5, "HOSTLORE_TEST_DANTE_PORT", false, kProxyOnlyName},
    kMicrosocks,
};

class SocksServersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (Environment("HOSTLORE_TEST_SOCKS") != "1") {
            GTEST_SKIP() << "needs the SOCKS servers that socks/with_socks_servers.sh starts in a "
                            "network namespace of their own, which only root can do; run the "
                            "tests as root";
        }
    }

    static void Through(const Proxy& proxy, TNetTCPClient& client) {
        client.SocksInfo.Version = proxy.version;
        client.SocksInfo.Host = "127.0.0.1";
        client.SocksInfo.Port = std::stoi(Environment(proxy.portVariable));
        if (proxy.withPassword) {
            client.SocksInfo.Authentication = TSocksAuthentication::saUsernamePassword;
            client.SocksInfo.UserID = Environment("HOSTLORE_TEST_MICROSOCKS_USER");
            client.SocksInfo.Password = Environment("HOSTLORE_TEST_MICROSOCKS_PASSWORD");
        }
    }

    // Knows no host at all: every name must reach the proxy as a name.
    std::shared_ptr<test::FakeResolver> resolver = std::make_shared<test::FakeResolver>();
};

TEST_F(SocksServersTest, AWhoisQueryReachesItsServerThroughEachProxy) {
    for (const auto& proxy : kProxies) {
        SCOPED_TRACE(proxy.name);
        const test::RecordingServer whoisServer("\r\n",
                                                test::Always("Domain Name: EXAMPLE.TEST\r\n"));
        TNetWhois client(resolver);
        Through(proxy, client);
        client.Host = proxy.target;
        client.Port = whoisServer.Port();
        EXPECT_EQ(client.QueryDomain("example.test"), "Domain Name: EXAMPLE.TEST\r\n");
        EXPECT_EQ(whoisServer.Requests(), std::vector<std::string>{"example.test\r\n"});
    }
    EXPECT_TRUE(resolver->AskedNames().empty());
}

TEST_F(SocksServersTest, AHeadRequestReachesItsServerThroughEachProxy) {
    for (const auto& proxy : kProxies) {
        SCOPED_TRACE(proxy.name);
        const test::RecordingServer webServer(
            "\r\n\r\n", test::Always("HTTP/1.1 200 OK\r\nServer: Proxied/1.0\r\n"
                                     "Content-Length: 0\r\nConnection: close\r\n\r\n"));
        TNetHTTP client(resolver);
        Through(proxy, client);
        client.SendHead("http://" + std::string(proxy.target) + ":" +
                        std::to_string(webServer.Port()) + "/");
        EXPECT_EQ(client.ReplyCode, 200);
        EXPECT_EQ(client.ReplyHeaders.Server, "Proxied/1.0");
        const auto requests = webServer.Requests();
        ASSERT_EQ(requests.size(), 1U);
        EXPECT_EQ(requests[0].rfind("HEAD / HTTP/1.1\r\n", 0), 0U) << requests[0];
    }
    EXPECT_TRUE(resolver->AskedNames().empty());
}

// TLS runs over the connection the proxy made.
TEST_F(SocksServersTest, AnHttpsRequestReachesItsServerThroughEachProxy) {
    const test::ScopedEnvironment trust("SSL_CERT_FILE",
                                        test::TestCertificates::Get().RootFile().c_str());
    const test::ServerOptions tls{"127.0.0.1", 0, test::TestCertificates::Get().Server("valid"), 0};
    for (const auto& proxy : kProxies) {
        SCOPED_TRACE(proxy.name);
        test::LoopbackServer webServer(
            [](test::ServerConnection& peer) {
                peer.ReadUntil("\r\n\r\n");
                peer.Send("HTTP/1.1 200 OK\r\nServer: Proxied/TLS\r\n\r\n");
            },
            tls);
        TNetHTTP client(resolver);
        Through(proxy, client);
        client.SendHead("https://" + std::string(proxy.target) + ":" +
                        std::to_string(webServer.Port()) + "/");
        EXPECT_EQ(client.ReplyHeaders.Server, "Proxied/TLS");
        ASSERT_TRUE(client.PeerCertificate.has_value());
        EXPECT_EQ(client.PeerCertificate->Status, TNetCertificateStatus::Valid);
    }
    EXPECT_TRUE(resolver->AskedNames().empty());
}

TEST_F(SocksServersTest, AWrongPasswordFailsAndNothingReachesTheTarget) {
    const test::RecordingServer whoisServer("\r\n", test::Always("Domain Name: EXAMPLE.TEST\r\n"));
    TNetWhois client(resolver);
    Through(kMicrosocks, client);
    client.SocksInfo.Password += "-wrong";
    client.Host = kProxyOnlyName;
    client.Port = whoisServer.Port();
    try {
        client.QueryDomain("example.test");
        FAIL() << "no failure";
    } catch (const ENetSocksAuthError& error) {
        EXPECT_STREQ(error.what(), "Authentication error to socks server.");
    }
    EXPECT_TRUE(whoisServer.Requests().empty());
}

}  // namespace
}  // namespace hostlore
