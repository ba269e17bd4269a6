#pragma once

#include <memory>
#include <string>
#include <vector>

#include "net/certificate_info.h"
#include "net/intercept.h"
#include "net/tls_module.h"

namespace hostlore {

class TNetTCPConnection;

// No TLS at all: the module that holds it is missing or cannot be loaded.
class ENetTlsUnavailable : public ENetException {
  public:
    explicit ENetTlsUnavailable(const std::string& reason)
        : ENetException("Secure connections are not available: " + reason) {}
};

// TLS 1.2 or 1.3 over a connection that is open to the server (directly or
// through a SOCKS server). The handshake sends the host's name (SNI), offers
// http/1.1 (ALPN) and asks for a stapled OCSP response; the server's chain is
// checked against the trust store of OpenSSL's default paths (SSL_CERT_FILE
// and SSL_CERT_DIR override it) and its name against the host. A certificate
// that fails the check does not fail the handshake: the program only reads
// headers and sends nothing secret, so the outcome is recorded for the user
// instead. Revocation is not checked. The TLS module is loaded at the first
// handshake; without it every handshake fails with ENetTlsUnavailable.
class TNetTLSLayer : public TNetIntercept {
  public:
    // Shakes hands at once; fails with the connection's errors or ENetTLSError.
    TNetTLSLayer(TNetTCPConnection& connection, const std::string& host);
    ~TNetTLSLayer() override;

    std::ptrdiff_t Receive(char* buffer, std::size_t size, int waitMs) override;
    void Send(const char* bytes, std::size_t size) override;
    bool CutOff() const override;

    const TNetCertificateInfo& Certificate() const { return certificate_; }
    const std::string& Version() const { return version_; }
    const std::string& Cipher() const { return cipher_; }
    const TNetTlsDetails& Details() const { return details_; }

  private:
    std::unique_ptr<TNetIntercept> session_;
    TNetCertificateInfo certificate_;
    std::string version_;
    std::string cipher_;
    TNetTlsDetails details_;
};

// Which of the `offered` protocols the server at the other end of
// `connection` takes, by a handshake naming `host` that ends as soon as the
// server has chosen, no certificate read; empty when it chose none. Fails as a
// handshake does, with ENetTLSProtocolRefused when it takes none of them.
std::string ServerProtocol(TNetTCPConnection& connection, const std::string& host,
                           const std::vector<std::string>& offered);

}  // namespace hostlore
