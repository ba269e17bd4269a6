#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "query/connection_settings.h"

namespace hostlore {

// The host, and ":port" when it is not the whois port: what the page's
// separator line names.
std::string WhoisServerName(const WhoisServerAddress& server);

// The servers a reply sends the asker on to, in the reply's order: the values
// of "Registrar WHOIS Server:", "ReferralServer: whois://..." and "refer:".
std::vector<WhoisServerAddress> ReferralsIn(std::string_view reply);

// IANA's answer about a top-level domain: its "whois:" line, the registry's
// server. None when the domain has no whois server.
std::optional<WhoisServerAddress> IanaRegistryServer(std::string_view reply);

// Whether IANA's answer is its whole object about the top-level domain: it
// names the domain and reaches the "source:" line that ends every object. An
// error text is not, nor an answer that a closed connection cut short.
bool IsWholeIanaAnswer(std::string_view reply, std::string_view topLevel);

// IANA's answer about an address: its "refer:" line, the regional registry.
std::optional<WhoisServerAddress> IanaAddressRegistry(std::string_view reply);

// A short reply that tells the asker whois has moved to RDAP: fewer than 10
// lines with text, mentioning RDAP, and no "Domain Name:" line.
bool IsRdapNotice(std::string_view reply);

}  // namespace hostlore
