#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hostlore {

// A URL or a reference to one, split as RFC 3986 splits it: the authority
// follows "//" and ends at the first "/", "?" or "#", the path ends at "?" or
// "#", the query at "#". An absent part differs from an empty one. Every
// part is a view into the text.
struct UrlParts {
    std::optional<std::string_view> scheme;
    std::optional<std::string_view> authority;
    std::string_view path;
    std::optional<std::string_view> query;
    std::optional<std::string_view> fragment;
};
UrlParts SplitUrl(std::string_view text);

// How long the authority is that starts `text` (the text after "//").
std::size_t AuthorityLength(std::string_view text);

// "userinfo@host:port": the user information up to the last "@", then the
// host, whose IPv6 literal keeps its brackets, and after its colon the port,
// digits or not.
struct UrlAuthority {
    std::optional<std::string_view> userInfo;
    std::string_view host;
    std::optional<std::string_view> port;
};
UrlAuthority SplitAuthority(std::string_view authority);

// An IPv6 literal without the brackets a URL puts around it.
std::string_view WithoutBrackets(std::string_view host);

// A TCP port written in decimal digits alone, from 1 to 65535.
std::optional<std::int32_t> ParsePort(std::string_view text);

// An IPv4 or IPv6 address in its text form, not a name. Inline, as the TLS
// module asks it too.
inline bool IsIpAddress(const std::string& text) {
    in6_addr address{};
    return ::inet_pton(AF_INET, text.c_str(), &address) == 1 ||
           ::inet_pton(AF_INET6, text.c_str(), &address) == 1;
}

}  // namespace hostlore
