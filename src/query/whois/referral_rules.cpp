#include "query/whois/referral_rules.h"

#include <algorithm>

#include "net/net_stack.h"

namespace hostlore {

namespace {

std::optional<std::string_view> LocalKindOf(const Ipv4Address& a) {
    if (a[0] == 127 || a[0] == 0) {
        return "loopback";  // 0.0.0.0/8 reaches this machine too
    }
    if (a[0] == 169 && a[1] == 254) {
        return "link-local";
    }
    if (a[0] == 10 || (a[0] == 172 && (a[1] & 0xf0) == 16) || (a[0] == 192 && a[1] == 168) ||
        (a[0] == 100 && (a[1] & 0xc0) == 64)) {
        return "private";
    }
    return std::nullopt;
}

std::optional<std::string_view> LocalKindOf(const Ipv6Address& a) {
    const auto zero = [](std::uint8_t byte) { return byte == 0; };
    if (std::all_of(a.begin(), a.begin() + 10, zero) && a[10] == 0xff && a[11] == 0xff) {
        return LocalKindOf(Ipv4Address{a[12], a[13], a[14], a[15]});
    }
    if (std::all_of(a.begin(), a.begin() + 15, zero) && a[15] <= 1) {
        return "loopback";  // ::1, and :: which reaches this machine too
    }
    if (a[0] == 0xfe && (a[1] & 0xc0) == 0x80) {
        return "link-local";
    }
    if ((a[0] & 0xfe) == 0xfc || (a[0] == 0xfe && (a[1] & 0xc0) == 0xc0)) {
        return "private";  // unique local, and the old site-local
    }
    return std::nullopt;
}

// What kind of local address a text names; none for a public one, or for
// no address at all.
std::optional<std::string_view> LocalKindOf(std::string_view text) {
    if (const auto ipv4 = TNetStack::DottedAddressOf(text)) {
        return LocalKindOf(*ipv4);
    }
    if (const auto ipv6 = Ipv6AddressOf(std::string(text))) {
        return LocalKindOf(*ipv6);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReferralRefusal(std::string_view start, const WhoisServerAddress& to,
                                           std::string_view address, bool namedByUser) {
    if (namedByUser || (!start.empty() && LocalKindOf(start))) {
        return std::nullopt;
    }
    if (to.port != 43) {
        return "port " + std::to_string(to.port) + " is not the whois port";
    }
    if (const auto kind = LocalKindOf(address)) {
        return std::string(address) + " is a " + std::string(*kind) + " address";
    }
    return std::nullopt;
}

}  // namespace hostlore
