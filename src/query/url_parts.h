#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace hostlore {

// The host named by a URL: the text after the first "://" (without one, the
// text less its first two characters), up to the first "/", "?" or "#".
// User information up to the last "@" and a ":port" at the end are dropped,
// so that "http://user@host:8080/x" names "host".
std::string HostPart(std::string_view url);

// Where the host part lies in the URL: its offset and its length.
std::pair<std::size_t, std::size_t> HostSpan(std::string_view url);

// A host reduced to its last two dot-separated labels when it has two dots or
// more; otherwise the host itself. No list of suffixes is consulted.
std::string DomainPart(std::string_view host);

}  // namespace hostlore
