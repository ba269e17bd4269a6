// Web (port 80), whois (43) and DNS (53) servers on 127.0.0.1 that take every
// connection and query and never answer. Each contact is logged as a line
// "http", "whois" or "dns" to standard output. Runs until killed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Listener {
    int descriptor;
    const char* name;
    bool datagrams;
};

int Bound(int type, int port) {
    const int descriptor = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (descriptor < 0 ||
        ::bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        (type == SOCK_STREAM && ::listen(descriptor, 64) != 0)) {
        std::perror("silent_servers");
        std::exit(1);
    }
    return descriptor;
}

}  // namespace

int main() {
    const std::array<Listener, 3> listeners = {{{Bound(SOCK_STREAM, 80), "http", false},
                                                {Bound(SOCK_STREAM, 43), "whois", false},
                                                {Bound(SOCK_DGRAM, 53), "dns", true}}};
    std::printf("ready\n");
    std::fflush(stdout);
    std::vector<pollfd> watched;
    watched.reserve(listeners.size());
    for (const Listener& listener : listeners) {
        watched.push_back({listener.descriptor, POLLIN, 0});
    }
    std::array<char, 65536> discard{};
    for (;;) {
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            continue;
        }
        for (std::size_t i = 0; i < watched.size(); ++i) {
            if ((watched[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
                continue;
            }
            if (i >= listeners.size()) {
                // A client's bytes are read and forgotten; its close ends the watch.
                if (::read(watched[i].fd, discard.data(), discard.size()) <= 0) {
                    ::close(watched[i].fd);
                    watched[i].fd = -1;
                }
                continue;
            }
            const Listener& listener = listeners[i];
            if (listener.datagrams) {
                ::recv(listener.descriptor, discard.data(), discard.size(), 0);
            } else if (const int client =
                           ::accept4(listener.descriptor, nullptr, nullptr, SOCK_CLOEXEC);
                       client >= 0) {
                watched.push_back({client, POLLIN, 0});
            }
            std::printf("%s\n", listener.name);
            std::fflush(stdout);
        }
        std::erase_if(watched, [](const pollfd& entry) { return entry.fd < 0; });
    }
}
