#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/resolver.h"

namespace hostlore {

// One address of a host, of either family.
using PeerAddress = std::variant<Ipv4Address, Ipv6Address>;

// Dotted decimal or compressed IPv6 text, without brackets.
std::string PeerAddressText(const PeerAddress& address);

// The addresses of a host in the order to try them: the two families take
// turns, starting with the one the resolver ranks first.
std::vector<PeerAddress> AttemptOrder(const HostEntry& entry);

struct RaceSettings {
    int port = 0;
    // How long an attempt has to itself before the next one starts.
    int headStartMs = 250;
    // For the whole race; -2: without limit.
    int timeoutMs = -2;
    // Becomes readable when the caller gives up; -1: none.
    int wakeDescriptor = -1;
    // The local address every attempt binds to; IPv4 attempts only.
    std::optional<Ipv4Address> boundIp;
};

struct RaceWinner {
    int descriptor;  // connected, blocking
    PeerAddress address;
};

// Connects to the first of `peers` that accepts: each attempt starts when the
// one before it has failed, or when its head start is over, whichever comes
// first; the first connection made wins and every other attempt is closed.
// Fails with the last attempt's failure, with ENetReadTimedOut when the time
// is up, or with ENetConnClosedGracefully when woken.
RaceWinner ConnectToFirst(const std::vector<PeerAddress>& peers, const RaceSettings& settings);

}  // namespace hostlore
