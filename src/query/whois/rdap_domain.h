#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "query/whois/whois_fields.h"

namespace hostlore {

// An RDAP domain object as lines that read like a whois reply: "Domain Name:",
// "Registrar:", "Registered:", "Expires:", "Updated:", one "Status:" per
// status, one "Name Server:" per server, and the registrant's organisation and
// country when they are public. An RDAP error object gives its code and title.
// Empty when the text is no JSON object.
std::vector<std::string> RdapDomainLines(std::string_view json);

// The same object as values: the registrar's name, the registration, last
// change and expiration events, the name servers, the statuses and
// secureDNS's delegationSigned. Nothing for an error object or other text.
WhoisFields RdapDomainFields(std::string_view json);

// The registrar's own RDAP record of the domain, which the registry's object
// links to as "related"; none when it names none.
std::optional<std::string> RdapRelatedLink(std::string_view json);

}  // namespace hostlore
