#include "net/url_syntax.h"

#include <algorithm>

namespace hostlore {

namespace {

// A letter, then letters, digits, "+", "-" or ".".
bool IsScheme(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && (i == 0 || !other)) {
            return false;
        }
    }
    return !text.empty();
}

}  // namespace

std::size_t AuthorityLength(std::string_view text) {
    return std::min(text.find_first_of("/?#"), text.size());
}

UrlParts SplitUrl(std::string_view text) {
    UrlParts parts;
    if (const auto hash = text.find('#'); hash != std::string_view::npos) {
        parts.fragment = text.substr(hash + 1);
        text = text.substr(0, hash);
    }
    const auto colon = text.find(':');
    if (colon != std::string_view::npos && IsScheme(text.substr(0, colon))) {
        parts.scheme = text.substr(0, colon);
        text.remove_prefix(colon + 1);
    }
    if (text.starts_with("//")) {
        text.remove_prefix(2);
        const std::size_t length = AuthorityLength(text);
        parts.authority = text.substr(0, length);
        text.remove_prefix(length);
    }
    const auto question = std::min(text.find('?'), text.size());
    parts.path = text.substr(0, question);
    if (question < text.size()) {
        parts.query = text.substr(question + 1);
    }
    return parts;
}

UrlAuthority SplitAuthority(std::string_view authority) {
    UrlAuthority parts;
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        parts.userInfo = authority.substr(0, at);
        authority.remove_prefix(at + 1);
    }
    // An IPv6 literal's colons are inside its brackets.
    const auto closing = authority.starts_with('[') ? authority.find(']') : std::string_view::npos;
    const auto colon = authority.find(':', closing == std::string_view::npos ? 0 : closing);
    parts.host = authority.substr(0, colon);
    if (colon != std::string_view::npos) {
        parts.port = authority.substr(colon + 1);
    }
    return parts;
}

std::string_view WithoutBrackets(std::string_view host) {
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        return host.substr(1, host.size() - 2);
    }
    return host;
}

std::optional<std::int32_t> ParsePort(std::string_view text) {
    constexpr std::int32_t kHighestPort = 65535;
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::int32_t port = 0;
    for (const char digit : text) {
        port = port * 10 + (digit - '0');
        if (port > kHighestPort) {
            return std::nullopt;
        }
    }
    return port == 0 ? std::nullopt : std::optional<std::int32_t>(port);
}

}  // namespace hostlore
