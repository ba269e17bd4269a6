#pragma once

#include "net/tcp_client.h"

namespace hostlore {

// One whois conversation: connect, send the query line, read until the
// server closes.
class TNetWhois : public TNetTCPClient {
  public:
    explicit TNetWhois(std::shared_ptr<Resolver> resolver);

    // The server's whole reply, as sent. Fails when the server cannot be
    // reached or the connection breaks; the connection is closed in every case.
    std::string QueryDomain(const std::string& domain);
};

}  // namespace hostlore
