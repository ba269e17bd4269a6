#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hostlore {

// One certificate a server sent, as it reads.
struct TNetChainCertificate {
    std::string Subject;  // the whole name, "CN=..., O=...", in the certificate's order
    std::string Issuer;
    std::vector<std::string> SubjectAltNames;  // its DNS names and addresses, in order
    std::int64_t NotBefore = 0;                // seconds since 1970 UTC
    std::int64_t NotAfter = 0;
    std::string KeyType;  // "RSA", "EC", "ED25519", ...
    int KeyBits = 0;
    std::string KeyCurve;  // of an EC key; empty for others
    std::string SignatureAlgorithm;
    std::string Sha256Fingerprint;  // "AB:CD:..." over the whole certificate
};

// What a TLS handshake settled, besides the check of the certificate, the
// version and the cipher.
struct TNetTlsDetails {
    std::string KeyExchangeGroup;  // "x25519"; empty when the key exchange had none
    std::string Protocol;          // what ALPN chose; empty when the server chose none
    bool OcspStapled = false;
    std::vector<TNetChainCertificate> Chain;  // in the order sent, the server's own first
};

}  // namespace hostlore
