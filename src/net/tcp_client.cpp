#include "net/tcp_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "net/net_errors.h"
#include "net/net_stack.h"
#include "net/socket_errors.h"
#include "net/socks_negotiation.h"

namespace hostlore {

namespace {

constexpr int kNoLimit = -2;

sockaddr_in SocketAddress(const Ipv4Address& address, int port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(static_cast<std::uint16_t>(port));
    std::memcpy(&socketAddress.sin_addr.s_addr, address.data(), address.size());
    return socketAddress;
}

std::pair<std::string, int> AddressText(const sockaddr_in& address) {
    Ipv4Address bytes{};
    std::memcpy(bytes.data(), &address.sin_addr.s_addr, bytes.size());
    return {DottedAddress(bytes), ntohs(address.sin_port)};
}

[[noreturn]] void ThrowLastSocketError() {
    throw ENetSocketError(SocketErrorCode(errno));
}

std::pair<std::string, int> LocalAddressOf(int descriptor) {
    sockaddr_in address{};
    socklen_t length = sizeof(address);
    ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length);
    return AddressText(address);
}

// Negative: sends may block without limit.
void SetSendTimeout(int descriptor, int timeoutMs) {
    timeval timeout{};
    if (timeoutMs > 0) {
        timeout.tv_sec = timeoutMs / 1000;
        timeout.tv_usec = static_cast<suseconds_t>(timeoutMs % 1000) * 1000;
    }
    ::setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
}

}  // namespace

TNetTCPClient::TNetTCPClient(std::shared_ptr<Resolver> resolver) : resolver_(std::move(resolver)) {}

void TNetTCPClient::CopySettingsFrom(const TNetTCPClient& other) {
    Host = other.Host;
    Port = other.Port;
    BoundIP = other.BoundIP;
    UseNagle = other.UseNagle;
    SocksInfo = other.SocksInfo;
    ExchangeTimeoutMs = other.ExchangeTimeoutMs;
    RecvBufferSize = other.RecvBufferSize;
    SendBufferSize = other.SendBufferSize;
    resolver_ = other.resolver_;
}

void TNetTCPClient::OpenConnection() {
    if (Socket().Allocated()) {
        throw ENetAlreadyConnected();
    }
    CheckSocksValueLengths(SocksInfo, Host);
    ResetConnectionState();
    const ExchangeDeadline deadline(*this, ExchangeTimeoutMs);
    const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0) {
        throw ENetInvalidSocket();
    }
    Socket().Allocate(descriptor);
    try {
        ConnectSocket(descriptor);
    } catch (...) {
        try {
            CloseConnection();
        } catch (...) {
            // The first failure is the one to report.
        }
        throw;
    }
    // A refused exchange leaves the connection to the SOCKS server open.
    NegotiateSocks(*this, SocksInfo, Host, Port, resolver_.get());
    if (OnConnected) {
        OnConnected();
    }
}

void TNetTCPClient::ConnectSocket(int descriptor) {
    Ipv4Address local{};
    if (!BoundIP.empty()) {
        const auto bound = TNetStack::DottedAddressOf(BoundIP);
        if (!bound) {
            throw ENetSocketError(SocketErrorCode(EADDRNOTAVAIL));
        }
        local = *bound;
    }
    const sockaddr_in localAddress = SocketAddress(local, 0);
    if (::bind(descriptor, reinterpret_cast<const sockaddr*>(&localAddress),
               sizeof(localAddress)) != 0) {
        if (errno == EADDRINUSE) {
            throw ENetCouldNotBindSocket();
        }
        ThrowLastSocketError();
    }
    const bool throughSocks = SocksInfo.Version != TSocksVersion::svNoSocks;
    const std::string& peerHost = throughSocks ? SocksInfo.Host : Host;
    const int peerPort = throughSocks ? SocksInfo.Port : Port;
    const std::string peerIp = TNetStack::ResolveAddress(peerHost, resolver_.get());
    auto [localIp, localPort] = LocalAddressOf(descriptor);
    Socket().SetAddresses(localIp, localPort, peerIp, peerPort);

    if (!UseNagle) {
        const int on = 1;
        ::setsockopt(descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    }
    const sockaddr_in peerAddress = SocketAddress(*TNetStack::DottedAddressOf(peerIp), peerPort);
    {
        // Held while connecting, so that a close from another thread wakes it.
        auto use = Socket().Acquire();
        if (!use) {
            throw ENetConnClosedGracefully();
        }
        // A send timeout bounds a blocking connect: it then ends in EINPROGRESS.
        SetSendTimeout(descriptor, TimeLeftMs(kNoLimit));
        if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&peerAddress),
                      sizeof(peerAddress)) != 0) {
            if (errno == EINPROGRESS) {
                throw ENetReadTimedOut();
            }
            if (errno != EINTR) {
                ThrowLastSocketError();
            }
            // Interrupted: the connection goes on; wait for its outcome, each
            // time only for what is left of the exchange's time.
            pollfd wait{descriptor, POLLOUT, 0};
            int ready = 0;
            while ((ready = ::poll(&wait, 1, std::max(TimeLeftMs(kNoLimit), -1))) < 0 &&
                   errno == EINTR) {
            }
            if (ready == 0) {
                throw ENetReadTimedOut();
            }
            int error = 0;
            socklen_t length = sizeof(error);
            ::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length);
            if (error != 0) {
                throw ENetSocketError(SocketErrorCode(error));
            }
        }
        SetSendTimeout(descriptor, -1);
    }
    std::tie(localIp, localPort) = LocalAddressOf(descriptor);
    Socket().SetAddresses(localIp, localPort, peerIp, peerPort);
}

}  // namespace hostlore
