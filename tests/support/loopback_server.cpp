#include "support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <stdexcept>

#include "platform/file_text.h"
#include "support/socket_address.h"

namespace hostlore::test {

namespace {

SSL_CTX* ServerContext(const TlsIdentity& identity, int maxVersion) {
    // OpenSSL writes with write(), which raises SIGPIPE once a client has gone.
    std::signal(SIGPIPE, SIG_IGN);
    // As the program does: whoever starts OpenSSL first decides whether it
    // tears itself down at exit, under workers still winding down.
    OPENSSL_init_ssl(OPENSSL_INIT_NO_ATEXIT, nullptr);
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (context == nullptr ||
        SSL_CTX_use_certificate_chain_file(context, identity.chainFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context, identity.keyFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
        (maxVersion != 0 && SSL_CTX_set_max_proto_version(context, maxVersion) != 1)) {
        SSL_CTX_free(context);
        throw std::runtime_error("cannot set up the TLS test server with " + identity.chainFile);
    }
    return context;
}

}  // namespace

struct TlsCallbacks {
    static int SelectProtocol(SSL*, const unsigned char** selected, unsigned char* length,
                              const unsigned char* offered, unsigned int offeredLength,
                              void* server) {
        const auto& self = *static_cast<LoopbackServer*>(server);
        const std::string& mine = self.protocols_;
        unsigned char* chosen = nullptr;
        if (SSL_select_next_proto(&chosen, length,
                                  reinterpret_cast<const unsigned char*>(mine.data()),
                                  static_cast<unsigned int>(mine.size()), offered,
                                  offeredLength) == OPENSSL_NPN_NEGOTIATED) {
            *selected = chosen;
            return SSL_TLSEXT_ERR_OK;
        }
        switch (self.otherProtocols_) {
            case OtherProtocols::Refuse:
                return SSL_TLSEXT_ERR_ALERT_FATAL;
            case OtherProtocols::AnswerOwn:
                *selected = reinterpret_cast<const unsigned char*>(mine.data()) + 1;
                *length = static_cast<unsigned char>(mine.front());
                return SSL_TLSEXT_ERR_OK;
            case OtherProtocols::GoOn:
                break;
        }
        return SSL_TLSEXT_ERR_NOACK;
    }

    static int Staple(SSL* tls, void* server) {
        const std::string& response = static_cast<LoopbackServer*>(server)->stapledResponse_;
        if (response.empty()) {
            return SSL_TLSEXT_ERR_NOACK;
        }
        auto* copy = static_cast<unsigned char*>(OPENSSL_memdup(response.data(), response.size()));
        SSL_set_tlsext_status_ocsp_resp(tls, copy, static_cast<long>(response.size()));
        return SSL_TLSEXT_ERR_OK;
    }
};

void LoopbackServer::SetUpTls(const ServerOptions& options) {
    tls_ = ServerContext(*options.tls, options.tlsMaxVersion);
    if (!options.groups.empty() && SSL_CTX_set1_groups_list(tls_, options.groups.c_str()) != 1) {
        throw std::runtime_error("no such key exchange groups: " + options.groups);
    }
    for (const std::string& protocol : options.protocols) {
        protocols_ += static_cast<char>(protocol.size());
        protocols_ += protocol;
    }
    otherProtocols_ = options.otherProtocols;
    tlsConnections_ = options.tlsConnections;
    SSL_CTX_set_alpn_select_cb(tls_, TlsCallbacks::SelectProtocol, this);
    if (!options.stapledResponseFile.empty()) {
        stapledResponse_ = ReadWholeFile(options.stapledResponseFile);
        SSL_CTX_set_tlsext_status_cb(tls_, TlsCallbacks::Staple);
        SSL_CTX_set_tlsext_status_arg(tls_, this);
    }
}

ServerConnection::~ServerConnection() {
    // An orderly end over TLS announces itself, as real servers do.
    if (tls_ != nullptr && descriptor_ >= 0 && SSL_is_init_finished(tls_) == 1) {
        SSL_shutdown(tls_);
    }
    SSL_free(tls_);
    if (descriptor_ >= 0) {
        server_.CloseConnection(descriptor_, false);
    }
}

std::ptrdiff_t ServerConnection::ReceiveSome(char* buffer, std::size_t size) {
    if (tls_ != nullptr) {
        std::size_t received = 0;
        return SSL_read_ex(tls_, buffer, size, &received) == 1
                   ? static_cast<std::ptrdiff_t>(received)
                   : 0;
    }
    return ::recv(descriptor_, buffer, size, 0);
}

std::string ServerConnection::ReadUntil(const std::string& ending) {
    std::string received;
    char buffer[4096];
    while (received.find(ending) == std::string::npos) {
        const std::ptrdiff_t n = ReceiveSome(buffer, sizeof(buffer));
        if (n <= 0) {
            break;
        }
        received.append(buffer, static_cast<std::size_t>(n));
    }
    return received;
}

std::string ServerConnection::ReadOnce() {
    char buffer[4096];
    const std::ptrdiff_t n = ReceiveSome(buffer, sizeof(buffer));
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

bool ServerConnection::Send(const std::string& bytes) {
    if (tls_ != nullptr) {
        std::size_t written = 0;
        return bytes.empty() || SSL_write_ex(tls_, bytes.data(), bytes.size(), &written) == 1;
    }
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

void ServerConnection::CloseWithoutTlsEnd() {
    server_.CloseConnection(descriptor_, false);
    descriptor_ = -1;
}

void ServerConnection::WaitForClientClose() {
    char buffer[4096];
    while (ReceiveSome(buffer, sizeof(buffer)) > 0) {
    }
}

std::string ServerConnection::TlsServerName() const {
    const char* name =
        tls_ != nullptr ? SSL_get_servername(tls_, TLSEXT_NAMETYPE_host_name) : nullptr;
    return name != nullptr ? name : "";
}

std::string ServerConnection::TlsProtocol() const {
    const unsigned char* protocol = nullptr;
    unsigned int length = 0;
    if (tls_ != nullptr) {
        SSL_get0_alpn_selected(tls_, &protocol, &length);
    }
    return protocol != nullptr ? std::string(reinterpret_cast<const char*>(protocol), length) : "";
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

LoopbackListener ListenOn(const std::string& address, int port, int backlog) {
    SocketAddress where = SocketAddressOf(address, port);
    const int descriptor = ::socket(where.storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    ::setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    if (descriptor < 0 || ::bind(descriptor, where.Pointer(), where.length) != 0 ||
        ::listen(descriptor, backlog) != 0 ||
        ::getsockname(descriptor, where.Pointer(), &where.length) != 0) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        throw std::runtime_error("cannot listen on " + address + ":" + std::to_string(port));
    }
    return {descriptor, where.Port()};
}

LoopbackServer::LoopbackServer(Script script, const std::string& address, int port)
    : LoopbackServer(std::move(script), ServerOptions{address, port, std::nullopt, 0}) {}

LoopbackServer::LoopbackServer(Script script, const ServerOptions& options)
    : script_(std::move(script)) {
    if (options.tls) {
        SetUpTls(options);
    }
    const LoopbackListener listener = ListenOn(options.address, options.port, 16);
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
    SSL_CTX_free(tls_);
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
        const bool secure = tls_ != nullptr && (tlsConnections_ < 0 || accepted_ < tlsConnections_);
        ++accepted_;
        std::lock_guard lock(mutex_);
        open_.push_back(descriptor);
        sessions_.emplace_back([this, descriptor, secure] { Serve(descriptor, secure); });
    }
}

void LoopbackServer::Serve(int descriptor, bool secure) {
    SSL* tls = nullptr;
    if (secure) {
        tls = SSL_new(tls_);
        SSL_set_fd(tls, descriptor);
        if (SSL_accept(tls) != 1) {
            ServerConnection failed(*this, descriptor, tls);
            return;
        }
    }
    ServerConnection connection(*this, descriptor, tls);
    script_(connection);
}

}  // namespace hostlore::test
