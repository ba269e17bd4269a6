#include "net/certificate_info.h"

#include <openssl/x509_vfy.h>

#include "platform/user_time_format.h"

namespace hostlore {

namespace {

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

}  // namespace

std::string CertificateOutcome(const TNetCertificateInfo& certificate) {
    switch (certificate.Status) {
        case TNetCertificateStatus::Valid:
            return "valid";
        case TNetCertificateStatus::Expired:
            return "expired on " + ShortDateOfMoment(certificate.ExpiredOn);
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

std::string_view CertificateVerdictName(TNetCertificateStatus status) {
    switch (status) {
        case TNetCertificateStatus::Valid:
            return "valid";
        case TNetCertificateStatus::Expired:
            return "expired";
        case TNetCertificateStatus::NotYetValid:
            return "not_yet_valid";
        case TNetCertificateStatus::SelfSigned:
            return "self_signed";
        case TNetCertificateStatus::IssuerNotTrusted:
            return "issuer_not_trusted";
        case TNetCertificateStatus::NameMismatch:
            return "name_mismatch";
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
    const std::int64_t nowSeconds =
        std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    return certificate.Subject + ", issued by " + certificate.Issuer + ", until " +
           ShortDateOfMoment(certificate.NotAfter) + " (" +
           DaysLeftText(certificate.NotAfter, nowSeconds) + "): " + CertificateOutcome(certificate);
}

}  // namespace hostlore
