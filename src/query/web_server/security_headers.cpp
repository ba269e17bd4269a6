#include "query/web_server/security_headers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <set>

#include "platform/ascii_text.h"
#include "platform/text_trim.h"

namespace hostlore {

namespace {

constexpr std::array<std::string_view, 7> kSecurityHeaders = {
    kStrictTransportHeader,      "Content-Security-Policy", "X-Frame-Options",
    "X-Content-Type-Options",    "Referrer-Policy",         "Permissions-Policy",
    "Cross-Origin-Opener-Policy"};

constexpr std::int64_t kNoMaxAge = -1;
constexpr std::string_view kValueNotShown = "(value not shown)";

// Calls `take` with each part of `text` between the separators, trimmed.
template <class Take>
void ForEachPart(std::string_view text, char separator, Take take) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        take(TrimControls(text.substr(start, end - start)));
        if (end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

// "name=value" as its trimmed name and its value, unquoted.
std::pair<std::string_view, std::string_view> Directive(std::string_view part) {
    const std::size_t equals = part.find('=');
    if (equals == std::string_view::npos) {
        return {part, {}};
    }
    std::string_view value = TrimControls(part.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return {TrimControls(part.substr(0, equals)), value};
}

std::int64_t Seconds(std::string_view digits) {
    std::int64_t seconds = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), seconds);
    return error == std::errc() && end == digits.data() + digits.size() && seconds >= 0 ? seconds
                                                                                        : kNoMaxAge;
}

// Without a valid max-age, or with a directive twice, browsers ignore it all.
StrictTransport ReadStrictTransport(std::string_view value) {
    StrictTransport read;
    std::int64_t maxAge = kNoMaxAge;
    bool repeated = false;
    std::set<std::string> seen;
    ForEachPart(value, ';', [&](std::string_view part) {
        const auto [name, argument] = Directive(part);
        if (name.empty()) {
            return;
        }
        repeated = repeated || !seen.insert(AsciiLowerCase(name)).second;
        if (EqualsIgnoringCase(name, "max-age")) {
            maxAge = Seconds(argument);
        } else if (EqualsIgnoringCase(name, "includeSubDomains")) {
            read.includeSubDomains = true;
        } else if (EqualsIgnoringCase(name, "preload")) {
            read.preload = true;
        }
    });
    if (maxAge != kNoMaxAge && !repeated) {
        read.maxAgeSeconds = maxAge;
    }
    return read;
}

CookieFlags ReadCookie(std::string_view line) {
    CookieFlags flags;
    bool first = true;
    ForEachPart(line, ';', [&](std::string_view part) {
        const auto [name, argument] = Directive(part);
        if (first) {
            // Without "=" the pair is all value and the name is empty.
            flags.name = part.find('=') == std::string_view::npos ? std::string() : name;
            first = false;
        } else if (EqualsIgnoringCase(name, "Secure")) {
            flags.secure = true;
        } else if (EqualsIgnoringCase(name, "HttpOnly")) {
            flags.httpOnly = true;
        } else if (EqualsIgnoringCase(name, "SameSite")) {
            flags.sameSite = argument;
        }
    });
    return flags;
}

}  // namespace

SecuritySummary SummarizeSecurity(const TNetHeaderList& headers) {
    SecuritySummary summary;
    for (const std::string_view name : kSecurityHeaders) {
        const std::vector<std::string> values = headers.Values(name);
        SecurityHeader header{std::string(name), std::nullopt};
        for (const std::string& value : values) {
            header.value = header.value ? *header.value + ", " + value : value;
        }
        summary.headers.push_back(std::move(header));
    }
    // Browsers heed only the first of several.
    if (const auto values = headers.Values(kStrictTransportHeader); !values.empty()) {
        summary.strictTransport = ReadStrictTransport(values.front());
    }
    for (const std::string& line : headers.Values("Set-Cookie")) {
        summary.cookies.push_back(ReadCookie(line));
    }
    return summary;
}

std::string WithoutCookieValue(std::string_view setCookie) {
    const std::size_t end = std::min(setCookie.find(';'), setCookie.size());
    const std::size_t equals = setCookie.substr(0, end).find('=');
    // Without "=" the whole pair is the value.
    const std::size_t start = equals == std::string_view::npos ? 0 : equals + 1;
    return std::string(setCookie.substr(0, start)) + std::string(kValueNotShown) +
           std::string(setCookie.substr(end));
}

bool AdvertisesHttp3(std::string_view altSvc) {
    bool advertised = false;
    ForEachPart(altSvc, ',', [&](std::string_view alternative) {
        const std::string_view protocol =
            Directive(alternative.substr(0, alternative.find(';'))).first;
        advertised = advertised || protocol == "h3" || protocol.starts_with("h3-");
    });
    return advertised;
}

}  // namespace hostlore
