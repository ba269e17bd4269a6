// The HTTP client by name, through the system's resolver, against the test
// namespace's web: each server on the address its name resolves to.
#include <gtest/gtest.h>

#include "dns/test_dns.h"
#include "net/http_client.h"
#include "platform/resolver.h"
#include "support/scoped_environment.h"
#include "support/test_web_world.h"

namespace hostlore {
namespace {

using Status = TNetCertificateStatus;

class TestWebRealDnsTest : public test::TestDns {
  protected:
    void SetUp() override {
        TestDns::SetUp();
        if (!IsSkipped()) {
            world = std::make_unique<test::TestWebWorld>();
        }
    }

    test::ScopedEnvironment trust{"SSL_CERT_FILE",
                                  test::TestCertificates::Get().RootFile().c_str()};
    std::unique_ptr<test::TestWebWorld> world;
};

TEST_F(TestWebRealDnsTest, EveryNameAnswersAsTheWorldSays) {
    struct Case {
        const char* url;
        const char* finalUrl;  // null: the request fails
        std::optional<Status> certificate;
    };
    const Case cases[] = {
        {"http://www.example.test/", "https://www.example.test/", Status::Valid},
        {"https://expired.example.test/", "", Status::Expired},
        {"https://future.example.test/", "", Status::NotYetValid},
        {"https://wrong.example.test/", "", Status::NameMismatch},
        {"https://self-signed.example.test/", "", Status::SelfSigned},
        {"https://untrusted.example.test/", "", Status::IssuerNotTrusted},
        {"http://relative.example.test/", "http://relative.example.test/next/page", std::nullopt},
        {"http://loop.example.test/", nullptr, std::nullopt},
        {"http://ftp.example.test/", nullptr, std::nullopt},
        {"https://stall.example.test/", nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        TNetHTTP client(std::make_shared<SystemResolver>());
        client.ExchangeTimeoutMs = 1000;
        if (c.finalUrl == nullptr) {
            EXPECT_THROW(client.SendHead(c.url), ENetException);
            continue;
        }
        client.SendHead(c.url);
        EXPECT_EQ(client.ReplyHeaders.Server, test::TestWebWorld::kServerType);
        EXPECT_EQ(client.FinalURL, c.finalUrl);
        EXPECT_EQ(client.PeerCertificate.has_value(), c.certificate.has_value());
        if (client.PeerCertificate && c.certificate) {
            EXPECT_EQ(client.PeerCertificate->Status, *c.certificate);
        }
    }
}

}  // namespace
}  // namespace hostlore
