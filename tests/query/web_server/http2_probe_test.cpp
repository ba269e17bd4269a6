#include "query/web_server/http2_probe.h"

#include <gtest/gtest.h>
#include <openssl/ssl.h>
#include <unistd.h>

#include "support/fake_resolver.h"
#include "support/loopback_server.h"
#include "support/test_certificates.h"

namespace hostlore {
namespace {

using namespace std::chrono_literals;

class Http2ProbeTest : public ::testing::Test {
  protected:
    Http2Check Probe(int port, Http2Probe::Deadline deadline = std::nullopt) {
        Http2Probe probe({"127.0.0.1", port}, TSocksInfo{}, resolver, deadline);
        return probe.Answer();
    }

    static test::ServerOptions Tls(std::vector<std::string> protocols, test::OtherProtocols others,
                                   int maxVersion = 0) {
        test::ServerOptions options{"127.0.0.1", 0, test::TestCertificates::Get().Server("valid"),
                                    maxVersion};
        options.protocols = std::move(protocols);
        options.otherProtocols = others;
        return options;
    }

    std::shared_ptr<test::FakeResolver> resolver = std::make_shared<test::FakeResolver>();
};

TEST_F(Http2ProbeTest, OnlyAServerThatChoosesH2AcceptsIt) {
    struct Case {
        const char* name;
        std::vector<std::string> protocols;
        test::OtherProtocols others;
        int maxVersion;
        bool accepted;
    };
    const Case cases[] = {
        {"takes h2", {"h2", "http/1.1"}, test::OtherProtocols::Refuse, 0, true},
        {"takes h2 over TLS 1.2", {"h2"}, test::OtherProtocols::Refuse, TLS1_2_VERSION, true},
        {"ignores the offer", {"http/1.1"}, test::OtherProtocols::GoOn, 0, false},
        {"refuses the offer", {"http/1.1"}, test::OtherProtocols::Refuse, 0, false},
        {"answers with its own", {"http/1.1"}, test::OtherProtocols::AnswerOwn, 0, false},
    };
    for (const Case& c : cases) {
        const test::LoopbackServer server([](test::ServerConnection&) {},
                                          Tls(c.protocols, c.others, c.maxVersion));
        const Http2Check check = Probe(server.Port());
        EXPECT_EQ(check.accepted, c.accepted) << c.name << ": " << check.reason;
    }
}

TEST_F(Http2ProbeTest, AServerThatCannotBeAskedLeavesItUnknownWithTheReason) {
    const test::LoopbackListener closed = test::ListenOnLoopback(1);
    ::close(closed.descriptor);
    const int closedPort = closed.port;
    const test::LoopbackServer silent([](test::ServerConnection& peer) {
        peer.ReadOnce();
        peer.WaitForClientClose();
    });
    struct Case {
        int port;
        Http2Probe::Deadline deadline;
        const char* reason;
    };
    const Case cases[] = {
        {closedPort, std::nullopt, "Connection refused."},
        {silent.Port(), std::chrono::steady_clock::now() + 200ms, "Read timed out."},
        {silent.Port(), std::chrono::steady_clock::now() - 1s, "Read timed out."},
    };
    for (const Case& c : cases) {
        const Http2Check check = Probe(c.port, c.deadline);
        EXPECT_FALSE(check.accepted.has_value()) << c.reason;
        EXPECT_EQ(check.reason, c.reason);
    }
}

TEST_F(Http2ProbeTest, AStopEndsAProbeTheServerHoldsUp) {
    const test::LoopbackServer silent([](test::ServerConnection& peer) {
        peer.ReadOnce();
        peer.WaitForClientClose();
    });
    Http2Probe probe({"127.0.0.1", silent.Port()}, TSocksInfo{}, resolver, std::nullopt);
    std::this_thread::sleep_for(50ms);
    const auto start = std::chrono::steady_clock::now();
    probe.Stop();
    EXPECT_FALSE(probe.Answer().accepted.has_value());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s * HOSTLORE_TEST_TIME_SCALE);
}

TEST(SecureOrigin, IsWhereAnHttpsUrlConnects) {
    const std::pair<const char*, std::optional<SecureOrigin>> cases[] = {
        {"https://www.example.test/", SecureOrigin{"www.example.test", 443}},
        {"HTTPS://www.example.test:8443/a?b", SecureOrigin{"www.example.test", 8443}},
        {"https://[2001:db8::1]:444/", SecureOrigin{"2001:db8::1", 444}},
        {"http://www.example.test/", std::nullopt},
        {"https://www.example.test:70000/", std::nullopt},
    };
    for (const auto& [url, origin] : cases) {
        EXPECT_EQ(SecureOriginOf(url), origin) << url;
    }
}

}  // namespace
}  // namespace hostlore
