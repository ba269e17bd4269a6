#include "query/web_server/certificate_rows.h"

#include <gtest/gtest.h>
#include <openssl/x509.h>

#include <ctime>

#include "platform/date_time.h"
#include "platform/user_time_format.h"
#include "support/scoped_environment.h"
#include "support/test_certificates.h"
#include "support/tls_handshake.h"

namespace hostlore {
namespace {

// The day a certificate's time falls on in UTC, in the short date format.
std::string DayOf(const ASN1_TIME* time) {
    std::tm moment{};
    ASN1_TIME_to_tm(time, &moment);
    return ShortDateText(*EncodeDate(moment.tm_year + 1900, moment.tm_mon + 1, moment.tm_mday));
}

std::string ManyNames() {
    std::string names = "Names: many.example.test";
    for (int i = 1; i <= 19; ++i) {
        names += ", name-" + std::to_string(i) + ".example.test";
    }
    return names + " and 5 more";
}

// The certificates come from a handshake with a server that sends them, as
// the page gets them.
TEST(CertificateRows, EachCertificateSentReadsAsTheUserSeesIt) {
    const test::ScopedEnvironment zone("TZ", "UTC0");
    const auto& authority = test::TestCertificates::Get();
    const std::string servers = "CN=Hostlore Test Servers, O=Hostlore Test Authority";
    const std::string ecKey = "Key: EC 256 bits (prime256v1)";
    const std::string ecdsa = "Signature: ecdsa-with-SHA256";
    struct Case {
        const char* identity;
        std::size_t position;  // in the chain sent
        std::string subject;
        std::string names;
        std::string issuer;
        std::string key;
    };
    const Case cases[] = {
        {"valid", 0, "CN=www.example.test",
         "Names: www.example.test, target.socks.test, localhost, 127.0.0.1", servers, ecKey},
        {"valid", 1, servers, "Names: none", "O=Hostlore Test Authority, CN=Hostlore Test Root",
         ecKey},
        {"many-names", 0, "CN=many.example.test", ManyNames(), servers, ecKey},
        {"rsa", 0, "CN=rsa.example.test", "Names: rsa.example.test", servers, "Key: RSA 2048 bits"},
        {"self-signed", 0, "CN=self-signed.example.test", "Names: self-signed.example.test",
         "CN=self-signed.example.test", ecKey},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.identity) + " #" + std::to_string(c.position));
        const test::TlsIdentity identity = authority.Server(c.identity);
        const TNetTlsDetails details = test::HandshakeWith({"127.0.0.1", 0, identity, 0});
        const auto sent = test::CertificatesIn(identity.chainFile);
        ASSERT_GT(details.Chain.size(), c.position);
        ASSERT_GT(sent.size(), c.position);
        X509* file = sent[c.position].get();
        const std::vector<std::string> expected = {
            "Subject: " + c.subject,
            c.names,
            "Issuer: " + c.issuer,
            "Valid from " + DayOf(X509_get0_notBefore(file)) + " to " +
                DayOf(X509_get0_notAfter(file)),
            c.key,
            ecdsa,
            "SHA-256: " + test::Fingerprint(file),
        };
        EXPECT_EQ(CertificateRows(details.Chain[c.position]), expected);
    }
}

}  // namespace
}  // namespace hostlore
