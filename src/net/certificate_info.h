#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hostlore {

// What the check of a server's certificate came to; one outcome per
// certificate, the first that applies in this order.
enum class TNetCertificateStatus {
    SelfSigned,
    IssuerNotTrusted,
    NameMismatch,
    Expired,
    NotYetValid,
    Valid,
};

// The server's certificate as the user is shown it.
struct TNetCertificateInfo {
    std::string Subject;        // its common name, or else its first DNS name
    std::string Issuer;         // the issuer's organisation, or else its common name
    std::int64_t NotAfter = 0;  // last moment of validity, seconds since 1970 UTC
    TNetCertificateStatus Status = TNetCertificateStatus::Valid;
    std::int64_t ExpiredOn = 0;     // for Expired: the end of the certificate that expired
    std::string Host;               // the name it was checked against
    std::string Sha256Fingerprint;  // "AB:CD:..." over the whole certificate
    // For the report: the whole names ("CN=www.example.test, O=Example"), the subject's
    // alternative DNS names and addresses in the certificate's order, and the
    // first moment of validity.
    std::string SubjectName;
    std::string IssuerName;
    std::vector<std::string> AlternativeNames;
    std::int64_t NotBefore = 0;
};

// One failure the chain check reported: the check's error code and the end of
// validity of the certificate it concerns.
struct TNetVerifyFailure {
    int Code;
    std::int64_t CertificateEnd;
};

// The outcome that the failures of a chain check come to, and for an expired
// certificate the end of its validity.
struct TNetCertificateVerdict {
    TNetCertificateStatus Status;
    std::int64_t ExpiredOn;
};
TNetCertificateVerdict CertificateVerdict(const std::vector<TNetVerifyFailure>& failures);

// "valid", "expired on DATE", "not yet valid", "self-signed", "issuer not
// trusted" or "name does not match HOST", the date in the user's short date
// format.
std::string CertificateOutcome(const TNetCertificateInfo& certificate);

// The outcome as one word of the report: "valid", "expired", "not_yet_valid",
// "self_signed", "issuer_not_trusted" or "name_mismatch".
std::string_view CertificateVerdictName(TNetCertificateStatus status);

// "SUBJECT, issued by ISSUER, until DATE (N days left): OUTCOME", the date in
// the user's short date format, the days whole and rounded down.
std::string CertificateSummary(const TNetCertificateInfo& certificate,
                               std::chrono::system_clock::time_point now);

}  // namespace hostlore
