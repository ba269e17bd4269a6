#include "net/redirect_location.h"

#include <algorithm>

#include "net/url_syntax.h"
#include "platform/ascii_text.h"
#include "platform/text_trim.h"

namespace hostlore {

namespace {

// A URL reference split as RFC 3986 splits it; an absent part differs from
// an empty one.
struct Reference {
    std::optional<std::string> scheme;
    std::optional<std::string> authority;
    std::string path;
    std::optional<std::string> query;
};

Reference Split(std::string_view text) {
    const UrlParts parts = SplitUrl(text);
    const auto owned = [](std::optional<std::string_view> part) {
        return part ? std::optional<std::string>(*part) : std::nullopt;
    };
    return {owned(parts.scheme), owned(parts.authority), std::string(parts.path),
            owned(parts.query)};
}

// RFC 3986, 5.2.4.
std::string RemoveDotSegments(std::string input) {
    std::string output;
    while (!input.empty()) {
        if (input.starts_with("../")) {
            input.erase(0, 3);
        } else if (input.starts_with("./") || input.starts_with("/./")) {
            input.erase(0, 2);
        } else if (input == "/.") {
            input = "/";
        } else if (input.starts_with("/../") || input == "/..") {
            input = input == "/.." ? "/" : input.substr(3);
            const auto last = output.rfind('/');
            output.erase(last == std::string::npos ? 0 : last);
        } else if (input == "." || input == "..") {
            input.clear();
        } else {
            const auto next = input.find('/', 1);
            output += input.substr(0, next);
            input.erase(0, next == std::string::npos ? input.size() : next);
        }
    }
    return output;
}

// The base's path up to its last "/", followed by the relative path.
std::string Merge(const Reference& base, const std::string& path) {
    if (base.authority && base.path.empty()) {
        return "/" + path;
    }
    const auto slash = base.path.rfind('/');
    return (slash == std::string::npos ? std::string() : base.path.substr(0, slash + 1)) + path;
}

Reference Resolve(const Reference& base, const Reference& relative) {
    if (relative.scheme) {
        Reference target = relative;
        target.path = RemoveDotSegments(relative.path);
        return target;
    }
    Reference target;
    target.scheme = base.scheme;
    if (relative.authority) {
        target.authority = relative.authority;
        target.path = RemoveDotSegments(relative.path);
        target.query = relative.query;
        return target;
    }
    target.authority = base.authority;
    if (relative.path.empty()) {
        target.path = RemoveDotSegments(base.path);
        target.query = relative.query ? relative.query : base.query;
    } else {
        target.path = RemoveDotSegments(
            relative.path.starts_with('/') ? relative.path : Merge(base, relative.path));
        target.query = relative.query;
    }
    return target;
}

// Tabs and line ends inside are dropped, backslashes become slashes.
std::string Cleaned(std::string_view text) {
    std::string cleaned;
    for (const char c : TrimControls(text)) {
        if (c != '\t' && c != '\n' && c != '\r') {
            cleaned += c == '\\' ? '/' : c;
        }
    }
    return cleaned;
}

std::string PercentEncoded(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

}  // namespace

std::optional<std::string> ResolveLocation(std::string_view base, std::string_view location) {
    const Reference target = Resolve(Split(Cleaned(base)), Split(Cleaned(location)));
    const bool web = target.scheme && (EqualsIgnoringCase(*target.scheme, "http") ||
                                       EqualsIgnoringCase(*target.scheme, "https"));
    if (!web || !target.authority || SplitAuthority(*target.authority).host.empty()) {
        return std::nullopt;
    }
    std::string scheme = *target.scheme;
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    std::string url = scheme + "://" + *target.authority;
    url += target.path.empty() ? "/" : target.path;
    if (target.query) {
        url += "?" + *target.query;
    }
    return PercentEncoded(url);
}

}  // namespace hostlore
