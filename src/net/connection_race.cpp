#include "net/connection_race.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <exception>

#include "net/net_errors.h"
#include "net/socket_errors.h"

namespace hostlore {

namespace {

using Clock = std::chrono::steady_clock;

struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;
};

SocketAddress SocketAddressOf(const PeerAddress& address, int port) {
    SocketAddress socketAddress;
    const auto networkPort = htons(static_cast<std::uint16_t>(port));
    if (const auto* ipv4 = std::get_if<Ipv4Address>(&address)) {
        auto* in = reinterpret_cast<sockaddr_in*>(&socketAddress.storage);
        in->sin_family = AF_INET;
        in->sin_port = networkPort;
        std::memcpy(&in->sin_addr, ipv4->data(), ipv4->size());
        socketAddress.length = sizeof(sockaddr_in);
    } else {
        const auto& ipv6 = std::get<Ipv6Address>(address);
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&socketAddress.storage);
        in6->sin6_family = AF_INET6;
        in6->sin6_port = networkPort;
        std::memcpy(&in6->sin6_addr, ipv6.data(), ipv6.size());
        socketAddress.length = sizeof(sockaddr_in6);
    }
    return socketAddress;
}

std::exception_ptr SocketFailure(int error) {
    if (error == EADDRINUSE) {
        return std::make_exception_ptr(ENetCouldNotBindSocket());
    }
    return std::make_exception_ptr(ENetSocketError(SocketErrorCode(error)));
}

struct Attempt {
    int descriptor;
    std::size_t peer;
};

// The attempts under way, closed when the race ends, except the winner.
class Attempts {
  public:
    Attempts() = default;
    ~Attempts() {
        for (const Attempt& attempt : list_) {
            ::close(attempt.descriptor);
        }
    }
    Attempts(const Attempts&) = delete;
    Attempts& operator=(const Attempts&) = delete;

    std::vector<Attempt>& List() { return list_; }
    int Take(std::size_t index) {
        const int descriptor = list_[index].descriptor;
        list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(index));
        return descriptor;
    }

  private:
    std::vector<Attempt> list_;
};

// Starts a non-blocking connect: the socket while it is under way or made,
// or the failure.
std::variant<int, std::exception_ptr> StartAttempt(const PeerAddress& peer,
                                                   const RaceSettings& settings) {
    const int family = std::holds_alternative<Ipv4Address>(peer) ? AF_INET : AF_INET6;
    const int descriptor = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (descriptor < 0) {
        return std::make_exception_ptr(ENetInvalidSocket());
    }
    if (settings.boundIp && family == AF_INET) {
        const SocketAddress local = SocketAddressOf(*settings.boundIp, 0);
        if (::bind(descriptor, reinterpret_cast<const sockaddr*>(&local.storage), local.length) !=
            0) {
            const int error = errno;
            ::close(descriptor);
            return SocketFailure(error);
        }
    }
    const SocketAddress remote = SocketAddressOf(peer, settings.port);
    if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&remote.storage), remote.length) !=
            0 &&
        errno != EINPROGRESS && errno != EINTR) {
        const int error = errno;
        ::close(descriptor);
        return SocketFailure(error);
    }
    return descriptor;
}

// The outcome of a connect that poll reported on: 0 when connected.
int ConnectError(int descriptor) {
    int error = 0;
    socklen_t length = sizeof(error);
    ::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length);
    if (error != 0) {
        return error;
    }
    sockaddr_storage peer{};
    socklen_t peerLength = sizeof(peer);
    return ::getpeername(descriptor, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0
               ? 0
               : ENOTCONN;
}

int Milliseconds(Clock::duration duration) {
    return static_cast<int>(
        std::max<std::int64_t>(0, std::chrono::ceil<std::chrono::milliseconds>(duration).count()));
}

}  // namespace

std::string PeerAddressText(const PeerAddress& address) {
    if (const auto* ipv4 = std::get_if<Ipv4Address>(&address)) {
        return DottedAddress(*ipv4);
    }
    return Ipv6Text(std::get<Ipv6Address>(address));
}

std::vector<PeerAddress> AttemptOrder(const HostEntry& entry) {
    std::vector<PeerAddress> first;
    std::vector<PeerAddress> second;
    auto& ipv4 = entry.ipv6First ? second : first;
    auto& ipv6 = entry.ipv6First ? first : second;
    ipv4.assign(entry.addresses.begin(), entry.addresses.end());
    ipv6.assign(entry.ipv6Addresses.begin(), entry.ipv6Addresses.end());
    std::vector<PeerAddress> order;
    for (std::size_t i = 0; i < std::max(first.size(), second.size()); ++i) {
        for (const auto* family : {&first, &second}) {
            if (i < family->size()) {
                order.push_back((*family)[i]);
            }
        }
    }
    return order;
}

RaceWinner ConnectToFirst(const std::vector<PeerAddress>& peers, const RaceSettings& settings) {
    const auto start = Clock::now();
    const std::optional<Clock::time_point> deadline =
        settings.timeoutMs < 0
            ? std::nullopt
            : std::optional(start + std::chrono::milliseconds(settings.timeoutMs));
    const auto headStart = std::chrono::milliseconds(settings.headStartMs);
    Attempts attempts;
    std::exception_ptr lastFailure = std::make_exception_ptr(ENetSocketError(11004));
    std::size_t next = 0;
    auto nextStart = start;
    for (;;) {
        const auto now = Clock::now();
        if (next < peers.size() && (attempts.List().empty() || now >= nextStart)) {
            auto started = StartAttempt(peers[next], settings);
            if (const int* descriptor = std::get_if<int>(&started)) {
                attempts.List().push_back({*descriptor, next});
                nextStart = now + headStart;
            } else {
                lastFailure = std::get<std::exception_ptr>(started);
                nextStart = now;
            }
            ++next;
            continue;
        }
        if (attempts.List().empty()) {
            std::rethrow_exception(lastFailure);
        }
        if (deadline && now >= *deadline) {
            throw ENetReadTimedOut();
        }
        std::optional<Clock::time_point> wakeAt = deadline;
        if (next < peers.size()) {
            wakeAt = wakeAt ? std::min(*wakeAt, nextStart) : nextStart;
        }
        std::vector<pollfd> waits;
        for (const Attempt& attempt : attempts.List()) {
            waits.push_back({attempt.descriptor, POLLOUT, 0});
        }
        if (settings.wakeDescriptor >= 0) {
            waits.push_back({settings.wakeDescriptor, POLLIN, 0});
        }
        const int ready =
            ::poll(waits.data(), waits.size(), wakeAt ? Milliseconds(*wakeAt - now) : -1);
        if (ready <= 0) {
            continue;  // a head start or the time is up, or interrupted
        }
        if (settings.wakeDescriptor >= 0 && waits.back().revents != 0) {
            throw ENetConnClosedGracefully();
        }
        std::optional<std::size_t> winner;
        std::vector<std::pair<std::size_t, int>> failures;
        for (std::size_t i = 0; i < attempts.List().size(); ++i) {
            if (waits[i].revents == 0) {
                continue;
            }
            if (const int error = ConnectError(waits[i].fd); error != 0) {
                failures.emplace_back(i, error);
            } else if (!winner) {
                winner = i;  // the earliest attempt wins when several connect at once
            }
        }
        if (winner) {
            const std::size_t peer = attempts.List()[*winner].peer;
            const int descriptor = attempts.Take(*winner);
            ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
            return {descriptor, peers[peer]};
        }
        for (auto failure = failures.rbegin(); failure != failures.rend(); ++failure) {
            ::close(attempts.Take(failure->first));
        }
        if (!failures.empty()) {
            lastFailure = SocketFailure(failures.back().second);
            nextStart = Clock::now();  // the next attempt need not wait
        }
    }
}

}  // namespace hostlore
