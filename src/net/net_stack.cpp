#include "net/net_stack.h"

#include <csignal>

#include "net/net_errors.h"
#include "platform/ascii_text.h"
#include "platform/integer_text.h"

namespace hostlore {

void StartSocketLibrary() {
    std::signal(SIGPIPE, SIG_IGN);
}

std::optional<Ipv4Address> TNetStack::DottedAddressOf(std::string_view text) {
    Ipv4Address address{};
    for (std::size_t part = 0; part < address.size(); ++part) {
        const bool last = part + 1 == address.size();
        const auto dot = last ? std::string_view::npos : text.find('.');
        const auto number = ParseInteger(text.substr(0, dot));
        if (!number || *number < 0 || *number > 255) {
            return std::nullopt;
        }
        address[part] = static_cast<std::uint8_t>(*number);
        text.remove_prefix(dot == std::string_view::npos ? text.size() : dot + 1);
    }
    return address;
}

bool TNetStack::IsDottedAddress(std::string_view text) {
    return DottedAddressOf(text).has_value();
}

std::string TNetStack::ResolveAddress(const std::string& host, Resolver* resolver) {
    if (EqualsIgnoringCase(host, "LOCALHOST")) {
        return "127.0.0.1";
    }
    if (IsDottedAddress(host)) {
        return host;
    }
    if (resolver == nullptr) {
        throw ENetSocketError(11003);
    }
    const HostLookup lookup = resolver->LookupName(host);
    if (!lookup.entry || lookup.entry->addresses.empty()) {
        throw ENetSocketError(lookup.errorCode != 0 ? lookup.errorCode : 11004);
    }
    return DottedAddress(lookup.entry->addresses.front());
}

std::vector<PeerAddress> TNetStack::ResolvePeers(const std::string& host, Resolver* resolver) {
    if (EqualsIgnoringCase(host, "LOCALHOST")) {
        return {Ipv4Address{127, 0, 0, 1}};
    }
    if (const auto dotted = DottedAddressOf(host)) {
        return {*dotted};
    }
    if (const auto literal = Ipv6AddressOf(host)) {
        return {*literal};
    }
    if (resolver == nullptr) {
        throw ENetSocketError(11003);
    }
    const HostLookup lookup = resolver->LookupName(host);
    std::vector<PeerAddress> peers;
    if (lookup.entry) {
        peers = AttemptOrder(*lookup.entry);
    }
    if (peers.empty()) {
        throw ENetSocketError(lookup.errorCode != 0 ? lookup.errorCode : 11004);
    }
    return peers;
}

}  // namespace hostlore
