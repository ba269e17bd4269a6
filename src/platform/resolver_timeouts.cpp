#include "platform/resolver_timeouts.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/file_text.h"

namespace hostlore {

namespace {

// The C library's limits; it waits at least a second, and a look-up makes at
// least one attempt here.
constexpr int kMostSeconds = 30;
constexpr int kMostAttempts = 5;

// The leading digits of `text` as a number, 0 when there are none.
int LeadingNumber(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || value > 1000) {
            break;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

void ApplyOptions(std::string_view options, ResolverTimeouts& timeouts) {
    std::istringstream words{std::string(options)};
    for (std::string word; words >> word;) {
        const std::string_view option = word;
        if (option.starts_with("timeout:")) {
            timeouts.timeoutSeconds = std::clamp(LeadingNumber(option.substr(8)), 1, kMostSeconds);
        } else if (option.starts_with("attempts:")) {
            timeouts.attempts = std::clamp(LeadingNumber(option.substr(9)), 1, kMostAttempts);
        }
    }
}

}  // namespace

ResolverTimeouts ReadResolverTimeouts(std::string_view resolvConf, std::string_view resOptions) {
    ResolverTimeouts timeouts;
    std::istringstream lines{std::string(resolvConf)};
    for (std::string line; std::getline(lines, line);) {
        constexpr std::string_view keyword = "options";
        if (line.starts_with(keyword) && line.size() > keyword.size() &&
            (line[keyword.size()] == ' ' || line[keyword.size()] == '\t')) {
            ApplyOptions(std::string_view(line).substr(keyword.size()), timeouts);
        }
    }
    ApplyOptions(resOptions, timeouts);
    return timeouts;
}

ResolverTimeouts SystemResolverTimeouts() {
    const char* const environment = std::getenv("RES_OPTIONS");
    return ReadResolverTimeouts(ReadWholeFile("/etc/resolv.conf"),
                                environment != nullptr ? environment : "");
}

}  // namespace hostlore
