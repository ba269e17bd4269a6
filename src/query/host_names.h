#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hostlore {

// The name under which a host part goes to the network: an IPv6 literal
// without its brackets; an ASCII name as typed, so that every name the
// resolver knows keeps working; any other name in its ASCII form by UTS #46
// nontransitional processing, as browsers send it; well-formed percent escapes
// decoded. Nothing for a name that is not a valid international name, breaks
// the DNS's length limits or holds a character no name holds: such a host is
// unknown, and its bytes never reach the wire.
std::optional<std::string> NetworkHostName(std::string_view hostPart);

// The URL with its host part in the form NetworkHostName gives (an IPv6
// literal keeps its brackets); nothing when the host is not a valid name.
std::optional<std::string> UrlWithNetworkHost(std::string_view url);

// The Host Name field's text for the name the resolver gives: its Unicode
// form followed by the ASCII form in parentheses when the two differ,
// "bücher.example (xn--bcher-kva.example)"; otherwise the name itself.
std::string HostNameText(const std::string& officialName);

}  // namespace hostlore
