#include "query/url_parts.h"

#include <algorithm>

#include "net/url_syntax.h"

namespace hostlore {

std::string HostPart(std::string_view url) {
    const auto [offset, length] = HostSpan(url);
    return std::string(url.substr(offset, length));
}

std::pair<std::size_t, std::size_t> HostSpan(std::string_view url) {
    const auto scheme = url.find("://");
    const std::size_t start =
        std::min(scheme == std::string_view::npos ? 2 : scheme + 3, url.size());
    const std::string_view rest = url.substr(start);
    const std::string_view authority = rest.substr(0, AuthorityLength(rest));
    const UrlAuthority parts = SplitAuthority(authority);
    std::string_view host = parts.host;
    // A port that is no number stays with the host, as the page shows it.
    if (parts.port && !parts.port->empty() &&
        parts.port->find_first_not_of("0123456789") != std::string_view::npos) {
        host = authority.substr(host.data() - authority.data());
    }
    return {static_cast<std::size_t>(host.data() - url.data()), host.size()};
}

std::string DomainPart(std::string_view host) {
    auto dots = std::count(host.begin(), host.end(), '.');
    for (; dots >= 2; --dots) {
        host.remove_prefix(host.find('.') + 1);
    }
    return std::string(host);
}

}  // namespace hostlore
