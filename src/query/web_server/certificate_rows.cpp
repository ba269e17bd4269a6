#include "query/web_server/certificate_rows.h"

#include "net/certificate_info.h"
#include "platform/user_time_format.h"

namespace hostlore {

namespace {

std::string NamesRow(const std::vector<std::string>& names) {
    if (names.empty()) {
        return "Names: none";
    }
    std::string row = "Names: ";
    for (std::size_t i = 0; i < names.size() && i < kListedNames; ++i) {
        row += (i == 0 ? "" : ", ") + names[i];
    }
    if (names.size() > kListedNames) {
        row += " and " + std::to_string(names.size() - kListedNames) + " more";
    }
    return row;
}

std::string KeyRow(const TNetChainCertificate& certificate) {
    std::string row =
        "Key: " + certificate.KeyType + " " + std::to_string(certificate.KeyBits) + " bits";
    if (!certificate.KeyCurve.empty()) {
        row += " (" + certificate.KeyCurve + ")";
    }
    return row;
}

}  // namespace

std::vector<std::string> CertificateRows(const TNetChainCertificate& certificate) {
    return {
        "Subject: " + certificate.Subject,
        NamesRow(certificate.SubjectAltNames),
        "Issuer: " + certificate.Issuer,
        "Valid from " + ShortDateOfMoment(certificate.NotBefore) + " to " +
            ShortDateOfMoment(certificate.NotAfter),
        KeyRow(certificate),
        "Signature: " + certificate.SignatureAlgorithm,
        "SHA-256: " + certificate.Sha256Fingerprint,
    };
}

}  // namespace hostlore
