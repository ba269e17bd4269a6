#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostlore {

// A whois server as an answer names it.
struct WhoisServer {
    std::string host;  // in lower case
    std::int32_t port = 43;

    // The host, and ":port" when it is not the whois port: what the page's
    // separator line names.
    std::string Name() const;
    bool operator==(const WhoisServer&) const = default;
};

// The servers a reply sends the asker on to, in the reply's order: the values
// of "Registrar WHOIS Server:", "ReferralServer: whois://..." and "refer:".
std::vector<WhoisServer> ReferralsIn(std::string_view reply);

// IANA's answer about a top-level domain: its "whois:" line, the registry's
// server. None when the domain has no whois server.
std::optional<WhoisServer> IanaRegistryServer(std::string_view reply);

// IANA's answer about an address: its "refer:" line, the regional registry.
std::optional<WhoisServer> IanaAddressRegistry(std::string_view reply);

// A short reply that tells the asker whois has moved to RDAP: fewer than 10
// lines with text, mentioning RDAP, and no "Domain Name:" line.
bool IsRdapNotice(std::string_view reply);

}  // namespace hostlore
