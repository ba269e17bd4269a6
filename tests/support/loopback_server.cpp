#include "support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace hostlore::test {

ServerConnection::~ServerConnection() {
    if (descriptor_ >= 0) {
        server_.CloseConnection(descriptor_, false);
    }
}

std::string ServerConnection::ReadUntil(const std::string& ending) {
    std::string received;
    char buffer[4096];
    while (received.find(ending) == std::string::npos) {
        const ssize_t n = ::recv(descriptor_, buffer, sizeof(buffer), 0);
        if (n <= 0) {
            break;
        }
        received.append(buffer, static_cast<std::size_t>(n));
    }
    return received;
}

std::string ServerConnection::ReadOnce() {
    char buffer[4096];
    const ssize_t n = ::recv(descriptor_, buffer, sizeof(buffer), 0);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

bool ServerConnection::Send(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            ::send(descriptor_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

void ServerConnection::Reset() {
    server_.CloseConnection(descriptor_, true);
    descriptor_ = -1;
}

void ServerConnection::WaitForClientClose() {
    char buffer[4096];
    while (::recv(descriptor_, buffer, sizeof(buffer), 0) > 0) {
    }
}

sockaddr_in LoopbackAddress(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

LoopbackListener ListenOnLoopback(int backlog) {
    return ListenOn("127.0.0.1", 0, backlog);
}

LoopbackListener ListenOn(const std::string& dotted, int port, int backlog) {
    const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = LoopbackAddress(port);
    ::inet_pton(AF_INET, dotted.c_str(), &address.sin_addr);
    const int reuse = 1;
    ::setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    socklen_t length = sizeof(address);
    if (descriptor < 0 || ::bind(descriptor, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(descriptor, backlog) != 0 ||
        ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        throw std::runtime_error("cannot listen on " + dotted + ":" + std::to_string(port));
    }
    return {descriptor, ntohs(address.sin_port)};
}

LoopbackServer::LoopbackServer(Script script, const std::string& address, int port)
    : script_(std::move(script)) {
    const LoopbackListener listener = ListenOn(address, port, 16);
    listener_ = listener.descriptor;
    port_ = listener.port;
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    ::close(listener_);
    std::vector<std::thread> sessions;
    {
        // Scripts still waiting for a client that will not go on are woken.
        std::lock_guard lock(mutex_);
        for (const int descriptor : open_) {
            ::shutdown(descriptor, SHUT_RDWR);
        }
        sessions.swap(sessions_);
    }
    for (auto& session : sessions) {
        session.join();
    }
}

void LoopbackServer::CloseConnection(int descriptor, bool reset) {
    std::lock_guard lock(mutex_);
    if (reset) {
        const linger abort{1, 0};
        ::setsockopt(descriptor, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
    }
    ::close(descriptor);
    open_.erase(std::remove(open_.begin(), open_.end(), descriptor), open_.end());
}

void LoopbackServer::AcceptLoop() {
    while (!stopping_) {
        pollfd wait{listener_, POLLIN, 0};
        if (::poll(&wait, 1, 50) <= 0) {
            continue;
        }
        const int descriptor = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (descriptor < 0) {
            continue;
        }
        ++accepted_;
        std::lock_guard lock(mutex_);
        open_.push_back(descriptor);
        sessions_.emplace_back([this, descriptor] {
            ServerConnection connection(*this, descriptor);
            script_(connection);
        });
    }
}

}  // namespace hostlore::test
