#pragma once

#include <string>
#include <vector>

#include "net/certificate_info.h"
#include "net/intercept.h"
#include "net/net_errors.h"

// What the program and its TLS module share. The module holds all of
// OpenSSL, so that loading the library costs only the runs that speak TLS.

namespace hostlore {

// A TLS failure other than the connection's own: no common version or
// cipher, a malformed message, no certificate.
class ENetTLSError : public ENetException {
  public:
    explicit ENetTLSError(const std::string& reason) : ENetException("TLS error: " + reason) {}
};

// The server's certificate as the handshake found it, before the failures of
// its check are weighed.
struct TNetPeerCertificate {
    TNetCertificateInfo info;
    std::vector<TNetVerifyFailure> verifyFailures;
};

// The module's one entry: shakes hands with `host` over `transport`, which
// must outlive the session it returns, and describes the server's
// certificate in `peer`. Fails with the transport's errors or ENetTLSError.
using TNetTlsConnect = TNetIntercept* (*)(TNetRawTransport& transport, const std::string& host,
                                          TNetPeerCertificate& peer);
inline constexpr const char* kTlsConnectEntry = "hostlore_tls_connect";
inline constexpr const char* kTlsModuleFile = "libhostlore_tls.so";

}  // namespace hostlore
