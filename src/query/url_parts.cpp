#include "query/url_parts.h"

#include <algorithm>

namespace hostlore {

std::string HostPart(std::string_view url) {
    const auto [offset, length] = HostSpan(url);
    return std::string(url.substr(offset, length));
}

std::pair<std::size_t, std::size_t> HostSpan(std::string_view url) {
    const auto scheme = url.find("://");
    const std::size_t start =
        std::min(scheme == std::string_view::npos ? 2 : scheme + 3, url.size());
    std::string_view host = url.substr(start);
    host = host.substr(0, host.find_first_of("/?#"));
    if (const auto at = host.rfind('@'); at != std::string_view::npos) {
        host.remove_prefix(at + 1);
    }
    if (const auto colon = host.rfind(':'); colon != std::string_view::npos) {
        const std::string_view port = host.substr(colon + 1);
        if (std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            host = host.substr(0, colon);
        }
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
