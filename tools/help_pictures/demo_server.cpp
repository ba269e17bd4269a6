#include "help_pictures/demo_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <stdexcept>

namespace hostlore::pictures {

DemoServer::DemoServer(const std::string& address, int port, std::string requestEnd, Reply reply)
    : requestEnd_(std::move(requestEnd)), reply_(std::move(reply)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(port));
    if (listener_ < 0 || ::inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1 ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::listen(listener_, 8) != 0) {
        throw std::runtime_error("cannot listen on " + address + ":" + std::to_string(port));
    }
    thread_ = std::thread([this] { Serve(); });
}

DemoServer::~DemoServer() {
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
}

void DemoServer::Serve() {
    for (;;) {
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0) {
            return;
        }
        std::string request;
        std::array<char, 1024> buffer{};
        while (request.find(requestEnd_) == std::string::npos) {
            const ssize_t got = ::recv(connection, buffer.data(), buffer.size(), 0);
            if (got <= 0) {
                break;
            }
            request.append(buffer.data(), static_cast<std::size_t>(got));
        }
        const std::string answer = reply_(request);
        ::send(connection, answer.data(), answer.size(), MSG_NOSIGNAL);
        ::close(connection);
    }
}

}  // namespace hostlore::pictures
