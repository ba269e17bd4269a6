#pragma once

// net/: sockets, SOCKS, TLS, the HTTP and whois clients and URL syntax; no widgets, may include
// only platform/.

#include <optional>
#include <string>
#include <string_view>

#include "net/connection_race.h"
#include "platform/resolver.h"

namespace hostlore {

// Process-wide set-up for sockets, once at start: a peer that has closed must
// never end the program through SIGPIPE.
void StartSocketLibrary();

// Name resolution for connecting, shared by every TCP client.
class TNetStack {
  public:
    // Four parts split at ".", each an integer from 0 to 255; the last part
    // takes all that follows the third ".".
    static bool IsDottedAddress(std::string_view text);
    // The address of a dotted text, or nothing.
    static std::optional<Ipv4Address> DottedAddressOf(std::string_view text);
    // "LOCALHOST" in any case and dotted addresses need no resolver; otherwise
    // the first address the resolver gives. Fails with the resolver's code
    // (11003 when there is no resolver to ask).
    static std::string ResolveAddress(const std::string& host, Resolver* resolver);
    // The same for connecting over either family: an IPv6 literal needs no
    // resolver either, and a name gives its addresses in the order to try them.
    static std::vector<PeerAddress> ResolvePeers(const std::string& host, Resolver* resolver);
};

}  // namespace hostlore
