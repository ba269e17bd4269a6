#pragma once

#include "net/tcp_client.h"

namespace hostlore {

// One whois conversation: connect, send the query line, read until the
// server closes.
class TNetWhois : public TNetTCPClient {
  public:
    explicit TNetWhois(std::shared_ptr<Resolver> resolver);

    // A reply past this fails the query, so an endless one cannot fill memory.
    std::size_t MaxReplyBytes = std::size_t{64} << 20;
    // The address the last reply came from: the proxy's through one.
    std::string RepliedFrom;

    // The server's whole reply, as sent. Fails when the server cannot be
    // reached, closes without a byte, the connection breaks or
    // ExchangeTimeoutMs (none by default: the user stops a query) runs out;
    // the connection is closed in every case.
    std::string QueryDomain(const std::string& domain);
};

}  // namespace hostlore
