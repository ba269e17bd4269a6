#pragma once

#include <string>
#include <string_view>

namespace hostlore {

// The host named by a URL: the text after the first "://" (without one, the
// text less its first two characters), up to the first "/", "?" or "#".
// User information up to the last "@" and a ":port" at the end are dropped,
// so that "http://user@host:8080/x" names "host".
std::string HostPart(std::string_view url);

}  // namespace hostlore
