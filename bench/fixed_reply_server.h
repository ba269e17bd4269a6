#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace bench {

// A socket listening on ADDRESS:PORT; the benchmark ends when there is none.
inline int ListeningSocket(const char* address, int port, int backlog) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, address, &where.sin_addr);
    if (::bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof(where)) != 0 ||
        ::listen(listener, backlog) != 0) {
        std::perror(address);
        std::exit(1);
    }
    return listener;
}

// What a client sent up to and with `ending`, or until it stopped sending.
inline std::string ReadRequest(int peer, const std::string& ending) {
    std::string request;
    char buffer[4096];
    while (request.find(ending) == std::string::npos) {
        const ssize_t n = ::recv(peer, buffer, sizeof(buffer), 0);
        if (n <= 0) {
            break;
        }
        request.append(buffer, static_cast<std::size_t>(n));
    }
    return request;
}

// Answers every connection on ADDRESS:PORT with `reply` once the request has
// arrived (a line end for whois, an empty line for HTTP).
class Server {
  public:
    Server(const char* address, int port, std::string ending, std::string reply)
        : ending_(std::move(ending)), reply_(std::move(reply)) {
        listener_ = ListeningSocket(address, port, 64);
        thread_ = std::thread([this] { Serve(); });
    }
    ~Server() {
        stopping_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }

  private:
    void Serve() {
        while (!stopping_) {
            const int peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (peer < 0) {
                continue;
            }
            ReadRequest(peer, ending_);
            ::send(peer, reply_.data(), reply_.size(), MSG_NOSIGNAL);
            ::close(peer);
        }
    }

    std::string ending_;
    std::string reply_;
    int listener_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace bench
