#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/recording_server.h"

namespace hostlore::test {

// The whois servers of the test network namespace, each on port 43 of the
// address that the test DNS (dns/with_test_dns.sh) gives its name:
// - whois.iana.org answers per top-level domain with a "whois:" line (test,
//   batch, thin, silent, loop, moved, gone; none for nowhois) and for an address in
//   203.0.113.0/24 with "refer: whois.rir.test";
// - whois.nic.test, a registry that keeps the whole record (of referrer.test
//   with a referral to 127.0.0.1, where a whois server listens too);
// - whois.thin.test, a thin registry naming whois.registrar.test (for
//   example.silent, whois.silent.test, which never answers);
// - whois.registrar.test, the registrar's server;
// - whois.moved.test, which only says to use RDAP;
// - whois.loop-a.test and whois.loop-b.test, which name each other;
// - whois.rir.test, the regional registry of 203.0.113.0/24;
// - whois.gone.test has an address but no server.
// and RDAP over HTTPS with the test authority's certificates (trusted where
// SSL_CERT_FILE names its root):
// - kRdapBootstrap, the bootstrap file: moved, nowhois and gone are served by
//   https://rdap.nic.test/;
// - rdap.nic.test, the registry's RDAP server, whose object of example.moved
//   links to rdap.registrar.test as "related";
// - rdap.registrar.test, which sends its object in chunks.
// Any other path gets an RDAP error object with 404.
class WhoisTestWorld {
  public:
    WhoisTestWorld();
    ~WhoisTestWorld();
    WhoisTestWorld(const WhoisTestWorld&) = delete;
    WhoisTestWorld& operator=(const WhoisTestWorld&) = delete;

    static constexpr const char* kRdapBootstrap = "https://data.iana.test/rdap/dns.json";
    // The JSON each RDAP URL of the world serves, by URL.
    static const std::map<std::string, std::string>& RdapObjects();

    // Connections each whois server has taken so far.
    int IanaConnections() const;
    int Connections(const std::string& server) const;
    // The requests an RDAP server (by its host name) has read, whole.
    std::vector<std::string> RdapRequests(const std::string& host) const;

  private:
    std::map<std::string, std::unique_ptr<RecordingServer>> whois_;
    std::map<std::string, std::unique_ptr<RecordingServer>> rdap_;
};

}  // namespace hostlore::test
