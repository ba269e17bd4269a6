#include "query/url_parts.h"

#include <algorithm>

namespace hostlore {

std::string HostPart(std::string_view url) {
    const auto scheme = url.find("://");
    std::string_view host =
        url.substr(std::min(scheme == std::string_view::npos ? 2 : scheme + 3, url.size()));
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
    return std::string(host);
}

std::string DomainPart(std::string_view host) {
    auto dots = std::count(host.begin(), host.end(), '.');
    for (; dots >= 2; --dots) {
        host.remove_prefix(host.find('.') + 1);
    }
    return std::string(host);
}

}  // namespace hostlore
