#pragma once

#include <cstdint>
#include <string>

#include "net/socks_info.h"
#include "net/tcp_connection.h"
#include "platform/resolver.h"

namespace hostlore {

// Fails with ENetSocksValueTooLong when the exchange of `socks.Version` would
// have to carry a host name, user ID or password longer than 255 bytes.
void CheckSocksValueLengths(const TSocksInfo& socks, const std::string& targetHost);

// Asks the SOCKS server at the other end of `connection` for a connection to
// the target, in the exchange of `socks.Version`; each message is one write.
// On success the connection carries the target's bytes; on failure it stays
// open to the SOCKS server unless the server closed it. Reads wait as long as
// the connection's exchange deadline allows.
void NegotiateSocks(TNetTCPConnection& connection, const TSocksInfo& socks,
                    const std::string& targetHost, std::int32_t targetPort, Resolver* resolver);

}  // namespace hostlore
