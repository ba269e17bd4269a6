#include "help_pictures/demo_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <stdexcept>

namespace hostlore::pictures {

namespace {

std::unique_ptr<SSL_CTX, void (*)(SSL_CTX*)> TlsContext(const std::optional<DemoTls>& tls) {
    if (!tls) {
        return {nullptr, SSL_CTX_free};
    }
    std::unique_ptr<SSL_CTX, void (*)(SSL_CTX*)> context(SSL_CTX_new(TLS_server_method()),
                                                         SSL_CTX_free);
    if (!context ||
        SSL_CTX_use_certificate_chain_file(context.get(), tls->certificateChain.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context.get(), tls->key.c_str(), SSL_FILETYPE_PEM) != 1) {
        throw std::runtime_error("cannot use " + tls->certificateChain + " and " + tls->key);
    }
    return context;
}

}  // namespace

DemoServer::DemoServer(const std::string& address, int port, std::string requestEnd, Reply reply,
                       const std::optional<DemoTls>& tls)
    : requestEnd_(std::move(requestEnd)), reply_(std::move(reply)), tls_(TlsContext(tls)) {
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
        Answer(connection);
        ::close(connection);
    }
}

void DemoServer::Answer(int connection) {
    const std::unique_ptr<SSL, void (*)(SSL*)> session(tls_ ? SSL_new(tls_.get()) : nullptr,
                                                       SSL_free);
    if (session && (SSL_set_fd(session.get(), connection) != 1 || SSL_accept(session.get()) != 1)) {
        return;
    }
    std::string request;
    std::array<char, 1024> buffer{};
    while (request.find(requestEnd_) == std::string::npos) {
        const auto got =
            session ? SSL_read(session.get(), buffer.data(), static_cast<int>(buffer.size()))
                    : ::recv(connection, buffer.data(), buffer.size(), 0);
        if (got <= 0) {
            break;
        }
        request.append(buffer.data(), static_cast<std::size_t>(got));
    }
    const std::string answer = reply_(request);
    if (session) {
        SSL_write(session.get(), answer.data(), static_cast<int>(answer.size()));
        SSL_shutdown(session.get());
    } else {
        ::send(connection, answer.data(), answer.size(), MSG_NOSIGNAL);
    }
}

}  // namespace hostlore::pictures
