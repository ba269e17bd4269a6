#include "net/certificate_info.h"

#include <openssl/x509_vfy.h>

#include <algorithm>
#include <ctime>

#include "platform/date_time.h"
#include "platform/user_time_format.h"

namespace hostlore {

namespace {

constexpr std::int64_t kSecondsPerDay = 86'400;

TNetCertificateStatus StatusOfCode(int code) {
    switch (code) {
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
            return TNetCertificateStatus::SelfSigned;
        case X509_V_ERR_HOSTNAME_MISMATCH:
        case X509_V_ERR_IP_ADDRESS_MISMATCH:
            return TNetCertificateStatus::NameMismatch;
        case X509_V_ERR_CERT_HAS_EXPIRED:
            return TNetCertificateStatus::Expired;
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return TNetCertificateStatus::NotYetValid;
        default:
            // Every other failure leaves the chain without a trusted issuer.
            return TNetCertificateStatus::IssuerNotTrusted;
    }
}

// A moment as a local date-time of the program's day count, in the zone in
// force now, as the server's dates are.
double LocalDateTime(std::int64_t secondsSince1970) {
    const auto moment = static_cast<std::time_t>(secondsSince1970);
    ::tzset();
    std::tm local{};
    if (::localtime_r(&moment, &local) == nullptr) {
        return 0;
    }
    const auto day = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return day ? *day : 0;
}

}  // namespace

std::string CertificateDateText(std::int64_t secondsSince1970) {
    return ShortDateText(LocalDateTime(secondsSince1970));
}

std::string CertificateOutcome(const TNetCertificateInfo& certificate) {
    switch (certificate.Status) {
        case TNetCertificateStatus::Valid:
            return "valid";
        case TNetCertificateStatus::Expired:
            return "expired on " + CertificateDateText(certificate.ExpiredOn);
        case TNetCertificateStatus::NotYetValid:
            return "not yet valid";
        case TNetCertificateStatus::SelfSigned:
            return "self-signed";
        case TNetCertificateStatus::IssuerNotTrusted:
            return "issuer not trusted";
        case TNetCertificateStatus::NameMismatch:
            return "name does not match " + certificate.Host;
    }
    return {};
}

TNetCertificateVerdict CertificateVerdict(const std::vector<TNetVerifyFailure>& failures) {
    TNetCertificateVerdict verdict{TNetCertificateStatus::Valid, 0};
    for (const auto& failure : failures) {
        const TNetCertificateStatus status = StatusOfCode(failure.Code);
        if (status < verdict.Status) {
            verdict = {status,
                       status == TNetCertificateStatus::Expired ? failure.CertificateEnd : 0};
        }
    }
    return verdict;
}

std::string CertificateSummary(const TNetCertificateInfo& certificate,
                               std::chrono::system_clock::time_point now) {
    const std::int64_t secondsLeft =
        certificate.NotAfter -
        std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    const std::int64_t daysLeft = std::max<std::int64_t>(secondsLeft, 0) / kSecondsPerDay;
    return certificate.Subject + ", issued by " + certificate.Issuer + ", until " +
           CertificateDateText(certificate.NotAfter) + " (" + std::to_string(daysLeft) +
           (daysLeft == 1 ? " day left): " : " days left): ") + CertificateOutcome(certificate);
}

}  // namespace hostlore
