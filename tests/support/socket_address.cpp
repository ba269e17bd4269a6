#include "support/socket_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <stdexcept>

namespace hostlore::test {

int SocketAddress::Port() const {
    return ntohs(storage.ss_family == AF_INET
                     ? reinterpret_cast<const sockaddr_in*>(&storage)->sin_port
                     : reinterpret_cast<const sockaddr_in6*>(&storage)->sin6_port);
}

SocketAddress SocketAddressOf(const std::string& text, int port) {
    SocketAddress address;
    auto* ipv4 = reinterpret_cast<sockaddr_in*>(&address.storage);
    auto* ipv6 = reinterpret_cast<sockaddr_in6*>(&address.storage);
    if (::inet_pton(AF_INET, text.c_str(), &ipv4->sin_addr) == 1) {
        ipv4->sin_family = AF_INET;
        ipv4->sin_port = htons(static_cast<std::uint16_t>(port));
        address.length = sizeof(sockaddr_in);
    } else if (::inet_pton(AF_INET6, text.c_str(), &ipv6->sin6_addr) == 1) {
        ipv6->sin6_family = AF_INET6;
        ipv6->sin6_port = htons(static_cast<std::uint16_t>(port));
        address.length = sizeof(sockaddr_in6);
    } else {
        throw std::invalid_argument("not an address: " + text);
    }
    return address;
}

}  // namespace hostlore::test
