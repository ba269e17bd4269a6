#pragma once

#include <sys/socket.h>

#include <string>

namespace hostlore::test {

// A socket address of either family.
struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = sizeof(storage);
    const sockaddr* Pointer() const { return reinterpret_cast<const sockaddr*>(&storage); }
    sockaddr* Pointer() { return reinterpret_cast<sockaddr*>(&storage); }
    int Port() const;
};

// `text` (an IPv4 or IPv6 address without brackets) and `port`; throws for
// text that is no address.
SocketAddress SocketAddressOf(const std::string& text, int port);

}  // namespace hostlore::test
