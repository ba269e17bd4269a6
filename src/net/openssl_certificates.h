#pragma once

#include <openssl/x509.h>

#include <cstdint>
#include <string>

#include "net/tls_details.h"

// The certificate readings of the TLS module; OpenSSL is linked there alone.

namespace hostlore {

// Seconds since 1970 UTC; 0 for a time that cannot be read.
std::int64_t SecondsOf(const ASN1_TIME* time);

// The first entry of that kind in a name, as UTF-8; empty when there is none.
std::string NameEntry(const X509_NAME* name, int nid);

std::string FirstDnsName(X509* certificate);

// "AB:CD:..." over the whole certificate.
std::string Sha256Fingerprint(X509* certificate);

TNetChainCertificate ChainCertificate(X509* certificate);

}  // namespace hostlore
