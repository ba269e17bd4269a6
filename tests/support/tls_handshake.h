#pragma once

#include <string>

#include "net/tls_details.h"
#include "support/loopback_server.h"

namespace hostlore::test {

// What the program's TLS layer reads of one handshake with a test server
// that `options` describe, the client naming `host`.
TNetTlsDetails HandshakeWith(const ServerOptions& options,
                             const std::string& host = "www.example.test");

}  // namespace hostlore::test
