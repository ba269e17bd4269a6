#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/loopback_server.h"

namespace hostlore::test {

// The whois servers of the test network namespace, each on port 43 of the
// address that the test DNS (dns/with_test_dns.sh) gives its name:
// - whois.iana.org answers per top-level domain with a "whois:" line (test,
//   thin, silent, loop, moved, gone; none for nowhois) and for an address in
//   203.0.113.0/24 with "refer: whois.rir.test";
// - whois.nic.test, a registry that keeps the whole record;
// - whois.thin.test, a thin registry naming whois.registrar.test (for
//   example.silent, whois.silent.test, which never answers);
// - whois.registrar.test, the registrar's server;
// - whois.moved.test, which only says to use RDAP;
// - whois.loop-a.test and whois.loop-b.test, which name each other;
// - whois.rir.test, the regional registry of 203.0.113.0/24;
// - whois.gone.test has an address but no server.
class WhoisTestWorld {
  public:
    WhoisTestWorld();
    ~WhoisTestWorld();
    WhoisTestWorld(const WhoisTestWorld&) = delete;
    WhoisTestWorld& operator=(const WhoisTestWorld&) = delete;

    // Connections each server has taken so far.
    int IanaConnections() const;
    int Connections(const std::string& server) const;

  private:
    struct Server;
    std::vector<std::unique_ptr<Server>> servers_;
};

}  // namespace hostlore::test
