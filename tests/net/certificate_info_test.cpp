#include "net/certificate_info.h"

#include <gtest/gtest.h>
#include <openssl/x509_vfy.h>

#include "support/scoped_environment.h"

namespace hostlore {
namespace {

using Status = TNetCertificateStatus;

// One outcome per certificate: trust first, then the name, then the dates.
TEST(CertificateVerdict, TheWeightiestFailureDecides) {
    struct Case {
        std::vector<TNetVerifyFailure> failures;
        Status status;
        std::int64_t expiredOn;
    };
    const Case cases[] = {
        {{}, Status::Valid, 0},
        {{{X509_V_ERR_CERT_HAS_EXPIRED, 100}}, Status::Expired, 100},
        {{{X509_V_ERR_CERT_NOT_YET_VALID, 100}}, Status::NotYetValid, 0},
        {{{X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT, 100}}, Status::SelfSigned, 0},
        {{{X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY, 100}}, Status::IssuerNotTrusted, 0},
        {{{X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN, 100}}, Status::IssuerNotTrusted, 0},
        {{{X509_V_ERR_CERT_SIGNATURE_FAILURE, 100}}, Status::IssuerNotTrusted, 0},
        {{{X509_V_ERR_HOSTNAME_MISMATCH, 100}}, Status::NameMismatch, 0},
        {{{X509_V_ERR_IP_ADDRESS_MISMATCH, 100}}, Status::NameMismatch, 0},
        {{{X509_V_ERR_CERT_HAS_EXPIRED, 100}, {X509_V_ERR_HOSTNAME_MISMATCH, 100}},
         Status::NameMismatch,
         0},
        {{{X509_V_ERR_HOSTNAME_MISMATCH, 100}, {X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT, 100}},
         Status::SelfSigned,
         0},
        {{{X509_V_ERR_CERT_NOT_YET_VALID, 100}, {X509_V_ERR_CERT_HAS_EXPIRED, 200}},
         Status::Expired,
         200},
    };
    for (const Case& c : cases) {
        const TNetCertificateVerdict verdict = CertificateVerdict(c.failures);
        EXPECT_EQ(verdict.Status, c.status) << c.failures.size();
        EXPECT_EQ(verdict.ExpiredOn, c.expiredOn);
    }
}

TEST(CertificateSummary, NamesSubjectIssuerLastDayDaysLeftAndOutcome) {
    const test::ScopedEnvironment zone("TZ", "UTC0");
    const test::ScopedEnvironment allOff("LC_ALL", "");
    const test::ScopedEnvironment dates("LC_TIME", "C");
    constexpr std::int64_t kEnd = 1'798'761'599;  // 31 December 2026, 23:59:59 UTC
    const auto at = [](std::int64_t seconds) {
        return std::chrono::system_clock::time_point(std::chrono::seconds(seconds));
    };
    struct Case {
        Status status;
        std::int64_t now;
        const char* summary;
    };
    const Case cases[] = {
        {Status::Valid, kEnd - 86'400 * 10 - 1,
         "www.example.test, issued by Test CA, until 12/31/26 (10 days left): valid"},
        {Status::Valid, kEnd - 86'400 * 10 + 1,
         "www.example.test, issued by Test CA, until 12/31/26 (9 days left): valid"},
        {Status::Valid, kEnd - 86'400,
         "www.example.test, issued by Test CA, until 12/31/26 (1 day left): valid"},
        {Status::Expired, kEnd + 86'400 * 3,
         "www.example.test, issued by Test CA, until 12/31/26 (0 days left): "
         "expired on 12/31/26"},
        {Status::NotYetValid, kEnd - 100,
         "www.example.test, issued by Test CA, until 12/31/26 (0 days left): not yet valid"},
        {Status::SelfSigned, kEnd - 100,
         "www.example.test, issued by Test CA, until 12/31/26 (0 days left): self-signed"},
        {Status::IssuerNotTrusted, kEnd - 100,
         "www.example.test, issued by Test CA, until 12/31/26 (0 days left): "
         "issuer not trusted"},
        {Status::NameMismatch, kEnd - 100,
         "www.example.test, issued by Test CA, until 12/31/26 (0 days left): "
         "name does not match other.example.test"},
    };
    for (const Case& c : cases) {
        TNetCertificateInfo certificate;
        certificate.Subject = "www.example.test";
        certificate.Issuer = "Test CA";
        certificate.NotAfter = kEnd;
        certificate.Status = c.status;
        certificate.ExpiredOn = c.status == Status::Expired ? kEnd : 0;
        certificate.Host = "other.example.test";
        EXPECT_EQ(CertificateSummary(certificate, at(c.now)), c.summary);
    }
}

TEST(CertificateSummary, TheLastDayIsTheLocalOne) {
    const test::ScopedEnvironment zone("TZ", "EST+5");
    const test::ScopedEnvironment allOff("LC_ALL", "");
    const test::ScopedEnvironment dates("LC_TIME", "C");
    TNetCertificateInfo certificate;
    // Moved in: GCC 12 warns of a false overlap when a literal is assigned.
    certificate.Subject = std::string("a");
    certificate.Issuer = std::string("b");
    certificate.NotAfter = 1'798'761'600;  // 1 January 2027, 00:00 UTC
    EXPECT_EQ(CertificateSummary(certificate, std::chrono::system_clock::time_point()),
              "a, issued by b, until 12/31/26 (20819 days left): valid");
}

}  // namespace
}  // namespace hostlore
