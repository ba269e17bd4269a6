#include "net/tcp_client.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>

#include "net/net_errors.h"
#include "net/net_stack.h"
#include "net/socket_errors.h"
#include "net/socks_negotiation.h"
#include "net/wait_limit.h"

namespace hostlore {

namespace {

std::pair<std::string, int> LocalAddressOf(int descriptor) {
    sockaddr_storage address{};
    socklen_t length = sizeof(address);
    ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length);
    if (address.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
        Ipv6Address bytes{};
        std::memcpy(bytes.data(), &in6.sin6_addr, bytes.size());
        return {Ipv6Text(bytes), ntohs(in6.sin6_port)};
    }
    const auto& in = reinterpret_cast<const sockaddr_in&>(address);
    Ipv4Address bytes{};
    std::memcpy(bytes.data(), &in.sin_addr, bytes.size());
    return {DottedAddress(bytes), ntohs(in.sin_port)};
}

// A socket pair that stands in for the connection while it is made. The
// handle holds one end, which a close from another thread shuts down: it then
// becomes readable and ends the race. The other end keeps it from reading as
// closed before that.
class Waker {
  public:
    Waker() {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends_.data()) != 0) {
            throw ENetInvalidSocket();
        }
    }
    ~Waker() {
        if (ends_[1] >= 0) {
            ::close(ends_[1]);
        }
    }
    Waker(const Waker&) = delete;
    Waker& operator=(const Waker&) = delete;
    // The end that goes to the handle, which closes it.
    int HandleEnd() const { return ends_[0]; }

  private:
    std::array<int, 2> ends_{-1, -1};
};

}  // namespace

TNetTCPClient::TNetTCPClient(std::shared_ptr<Resolver> resolver) : resolver_(std::move(resolver)) {}

void TNetTCPClient::CopySettingsFrom(const TNetTCPClient& other) {
    Host = other.Host;
    Port = other.Port;
    BoundIP = other.BoundIP;
    UseNagle = other.UseNagle;
    SocksInfo = other.SocksInfo;
    ExchangeTimeoutMs = other.ExchangeTimeoutMs;
    ConnectHeadStartMs = other.ConnectHeadStartMs;
    CheckAddress = other.CheckAddress;
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
    {
        const Waker waker;
        Socket().Allocate(waker.HandleEnd());
        try {
            ConnectSocket();
        } catch (...) {
            try {
                CloseConnection();
            } catch (...) {
                // The first failure is the one to report.
            }
            throw;
        }
    }
    // A refused exchange leaves the connection to the SOCKS server open.
    NegotiateSocks(*this, SocksInfo, Host, Port, resolver_.get());
    if (OnConnected) {
        OnConnected();
    }
}

void TNetTCPClient::ConnectSocket() {
    RaceSettings race;
    race.headStartMs = ConnectHeadStartMs;
    if (!BoundIP.empty()) {
        race.boundIp = TNetStack::DottedAddressOf(BoundIP);
        if (!race.boundIp) {
            throw ENetSocketError(SocketErrorCode(EADDRNOTAVAIL));
        }
    }
    const bool throughSocks = SocksInfo.Version != TSocksVersion::svNoSocks;
    const std::string& peerHost = throughSocks ? SocksInfo.Host : Host;
    race.port = throughSocks ? SocksInfo.Port : Port;
    std::vector<PeerAddress> peers = TNetStack::ResolvePeers(peerHost, resolver_.get());
    KeepAllowedPeers(peers, throughSocks);
    race.timeoutMs = TimeLeftMs(kNoLimit);
    std::optional<RaceWinner> winner;
    {
        auto use = Socket().Acquire();
        if (!use) {
            throw ENetConnClosedGracefully();
        }
        race.wakeDescriptor = use->Descriptor();
        winner = ConnectToFirst(peers, race);
    }
    if (!Socket().Replace(winner->descriptor)) {
        ::close(winner->descriptor);
        throw ENetConnClosedGracefully();
    }
    if (!UseNagle) {
        const int on = 1;
        ::setsockopt(winner->descriptor, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    }
    auto [localIp, localPort] = LocalAddressOf(winner->descriptor);
    Socket().SetAddresses(localIp, localPort, PeerAddressText(winner->address), race.port);
}

void TNetTCPClient::KeepAllowedPeers(std::vector<PeerAddress>& peers, bool throughSocks) const {
    if (!CheckAddress) {
        return;
    }
    if (throughSocks) {
        std::optional<PeerAddress> literal;
        if (const auto ipv4 = TNetStack::DottedAddressOf(Host)) {
            literal = *ipv4;
        } else if (const auto ipv6 = Ipv6AddressOf(Host)) {
            literal = *ipv6;
        }
        if (literal) {
            if (auto refusal = CheckAddress(PeerAddressText(*literal))) {
                throw ENetAddressRefused(*refusal);
            }
        }
        return;
    }
    std::optional<std::string> firstRefusal;
    std::erase_if(peers, [&](const PeerAddress& peer) {
        const auto refusal = CheckAddress(PeerAddressText(peer));
        if (refusal && !firstRefusal) {
            firstRefusal = refusal;
        }
        return refusal.has_value();
    });
    if (peers.empty() && firstRefusal) {
        throw ENetAddressRefused(*firstRefusal);
    }
}

}  // namespace hostlore
