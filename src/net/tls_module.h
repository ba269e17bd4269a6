#pragma once

#include <string>
#include <vector>

#include "net/certificate_info.h"
#include "net/intercept.h"
#include "net/net_errors.h"
#include "net/tls_details.h"

// What the program and its TLS module share. The module holds all of
// OpenSSL, so that loading the library costs only the runs that speak TLS.

namespace hostlore {

// A TLS failure other than the connection's own: no common version or
// cipher, a malformed message, no certificate.
class ENetTLSError : public ENetException {
  public:
    explicit ENetTLSError(const std::string& reason) : ENetException("TLS error: " + reason) {}
};

// The server takes none of the application protocols offered: it says so, or
// answers with one that was not offered.
class ENetTLSProtocolRefused : public ENetTLSError {
  public:
    using ENetTLSError::ENetTLSError;
};

// What the handshake settled on: the server's certificate before the failures
// of its check are weighed, the protocol version, the cipher and the rest.
struct TNetHandshake {
    TNetCertificateInfo info;
    std::vector<TNetVerifyFailure> verifyFailures;
    std::string version;  // "TLSv1.3"
    std::string cipher;   // "TLS_AES_256_GCM_SHA384"
    TNetTlsDetails details;
};

// What a handshake is asked for.
struct TNetTlsRequest {
    std::string host;
    std::vector<std::string> protocols;  // offered by ALPN, in order of preference
    // Only which of them the server takes: the handshake ends as soon as that
    // is known, before any certificate is read, and leaves no session.
    bool protocolOnly = false;
};

// The module's one entry: shakes hands over `transport`, which must outlive
// the session it returns (none for a request of the protocol only), and
// describes what it settled on in `handshake`. Fails with the transport's
// errors or ENetTLSError.
using TNetTlsConnect = TNetIntercept* (*)(TNetRawTransport& transport,
                                          const TNetTlsRequest& request, TNetHandshake& handshake);
inline constexpr const char* kTlsConnectEntry = "hostlore_tls_connect";
inline constexpr const char* kTlsModuleFile = "libhostlore_tls.so";

}  // namespace hostlore
