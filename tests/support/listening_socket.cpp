#include "support/listening_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace hostlore::test {

namespace {

struct Address {
    sockaddr_storage storage{};
    socklen_t length = 0;
};

Address AddressOf(const std::string& text, int port) {
    Address address;
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

}  // namespace

ListeningSocket::ListeningSocket(const std::string& address, int port, Kind kind) {
    Address where = AddressOf(address, port);
    listener_ = ::socket(where.storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&where.storage), where.length) != 0 ||
        ::listen(listener_, kind == Kind::Silent ? 0 : 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&where.storage), &where.length) != 0) {
        if (listener_ >= 0) {
            ::close(listener_);
        }
        throw std::runtime_error("cannot listen on " + address);
    }
    port_ = ntohs(where.storage.ss_family == AF_INET
                      ? reinterpret_cast<const sockaddr_in*>(&where.storage)->sin_port
                      : reinterpret_cast<const sockaddr_in6*>(&where.storage)->sin6_port);
    if (kind == Kind::Silent) {
        for (int i = 0; i < 4; ++i) {
            const int filler =
                ::socket(where.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            // Non-blocking: the handshake completes into the queue meanwhile.
            static_cast<void>(
                ::connect(filler, reinterpret_cast<const sockaddr*>(&where.storage), where.length));
            fillers_.push_back(filler);
        }
        // The queue fills once the handshakes are through.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

ListeningSocket::~ListeningSocket() {
    for (const int filler : fillers_) {
        ::close(filler);
    }
    ::close(listener_);
}

}  // namespace hostlore::test
