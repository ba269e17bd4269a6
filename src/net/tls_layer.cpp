#include "net/tls_layer.h"

#include "net/tcp_connection.h"
#include "platform/program_files.h"

namespace hostlore {

namespace {

// Loaded once and kept to the end, as the sessions it makes may outlive any user.
TNetTlsConnect TlsConnect() {
    static std::string failure;
    static const auto connect =
        reinterpret_cast<TNetTlsConnect>(ModuleEntry(kTlsModuleFile, kTlsConnectEntry, failure));
    if (connect == nullptr) {
        throw ENetTlsUnavailable(failure);
    }
    return connect;
}

}  // namespace

TNetTLSLayer::TNetTLSLayer(TNetTCPConnection& connection, const std::string& host) {
    TNetHandshake handshake;
    session_.reset(TlsConnect()(connection, {host, {"http/1.1"}, false}, handshake));
    certificate_ = std::move(handshake.info);
    version_ = std::move(handshake.version);
    cipher_ = std::move(handshake.cipher);
    details_ = std::move(handshake.details);
    const TNetCertificateVerdict verdict = CertificateVerdict(handshake.verifyFailures);
    certificate_.Status = verdict.Status;
    certificate_.ExpiredOn = verdict.ExpiredOn;
    certificate_.Host = host;
}

TNetTLSLayer::~TNetTLSLayer() = default;

std::ptrdiff_t TNetTLSLayer::Receive(char* buffer, std::size_t size, int waitMs) {
    return session_->Receive(buffer, size, waitMs);
}

void TNetTLSLayer::Send(const char* bytes, std::size_t size) {
    session_->Send(bytes, size);
}

bool TNetTLSLayer::CutOff() const {
    return session_->CutOff();
}

std::string ServerProtocol(TNetTCPConnection& connection, const std::string& host,
                           const std::vector<std::string>& offered) {
    TNetHandshake handshake;
    TlsConnect()(connection, {host, offered, true}, handshake);
    return handshake.details.Protocol;
}

}  // namespace hostlore
