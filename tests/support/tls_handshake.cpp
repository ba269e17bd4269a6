#include "support/tls_handshake.h"

#include "net/tcp_client.h"
#include "net/tls_layer.h"
#include "support/fake_resolver.h"

namespace hostlore::test {

TNetTlsDetails HandshakeWith(const ServerOptions& options, const std::string& host) {
    const LoopbackServer server([](ServerConnection&) {}, options);
    TNetTCPClient connection(std::make_shared<FakeResolver>());
    connection.Host = options.address;
    connection.Port = server.Port();
    connection.OpenConnection();
    return TNetTLSLayer(connection, host).Details();
}

}  // namespace hostlore::test
