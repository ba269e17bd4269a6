#include "net/tcp_connection.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <utility>

#include "net/anti_freeze.h"
#include "net/net_errors.h"
#include "net/socket_errors.h"

namespace hostlore {

namespace {

constexpr int kNoLimit = -2;
constexpr int kSendShutDown = 10058;

}  // namespace

bool TNetTCPConnection::IsConnected() {
    CheckPeerClosed(false, false);
    return handle_.Allocated();
}

void TNetTCPConnection::DropSocket() {
    if (handle_.Drop()) {
        peerClosed_ = true;
        if (OnDisconnected) {
            OnDisconnected();
        }
    }
}

void TNetTCPConnection::ResetConnectionState() {
    pending_.clear();
    peerClosed_ = false;
}

void TNetTCPConnection::CheckPeerClosed(bool raiseIfClosed, bool ignorePending) {
    if (!peerClosed_ && handle_.Allocated()) {
        return;
    }
    DropSocket();
    if (raiseIfClosed && (pending_.empty() || ignorePending)) {
        throw ENetConnClosedGracefully();
    }
}

void TNetTCPConnection::SendText(std::string_view text) {
    SendBytes(text.data(), static_cast<std::int32_t>(text.size()));
}

void TNetTCPConnection::SendLine(std::string_view text) {
    std::string line(text);
    line += "\r\n";
    SendText(line);
}

void TNetTCPConnection::SendBytes(const void* bytes, std::int32_t count) {
    if (bytes == nullptr || count <= 0) {
        return;
    }
    CheckPeerClosed(true, true);
    const auto* data = static_cast<const char*>(bytes);
    std::int32_t sent = 0;
    while (sent < count) {
        ssize_t n = -1;
        int error = 0;
        if (auto use = handle_.Acquire()) {
            do {
                n = ::send(use->Descriptor(), data + sent, static_cast<std::size_t>(count - sent),
                           MSG_NOSIGNAL);
            } while (n < 0 && errno == EINTR);
            error = n < 0 ? errno : 0;
        } else {
            CheckPeerClosed(true, true);
        }
        TNetAntiFreeze::YieldToUi(false, false);
        if (n == 0) {
            peerClosed_ = true;
        }
        CheckPeerClosed(true, false);
        if (n < 0) {
            const int code = SocketErrorCode(error);
            if (code == kSendShutDown) {
                DropSocket();
            }
            throw ENetSocketError(code);
        }
        sent += static_cast<std::int32_t>(n);
    }
}

bool TNetTCPConnection::WaitSlice(int waitMs) {
    bool readable = false;
    {
        auto use = handle_.Acquire();
        if (!use) {
            throw ENetConnClosedGracefully();
        }
        pollfd wait{use->Descriptor(), POLLIN, 0};
        int result = 0;
        do {
            result = ::poll(&wait, 1, waitMs == kNoLimit ? -1 : waitMs);
        } while (result < 0 && errno == EINTR);
        readable = result == 1;
    }
    TNetAntiFreeze::YieldToUi(!readable, false);
    return readable;
}

bool TNetTCPConnection::WaitReadable(int waitMs) {
    const auto antiFreeze = TNetAntiFreeze::Current();
    if (antiFreeze && antiFreeze->Active) {
        // Every wait is cut into slices, and the socket is looked at before each.
        const int slice = antiFreeze->IdleTimeOut;
        if (waitMs == kNoLimit) {
            while (!WaitSlice(slice)) {
            }
            return true;
        }
        for (; waitMs > slice; waitMs -= slice) {
            if (WaitSlice(slice)) {
                return true;
            }
        }
    }
    return WaitSlice(waitMs);
}

std::int32_t TNetTCPConnection::ReceiveChunk(bool raiseIfClosed, int waitMs) {
    CheckPeerClosed(raiseIfClosed, false);
    if (!handle_.Allocated() || !WaitReadable(waitMs)) {
        return 0;
    }
    const std::size_t before = pending_.size();
    ssize_t n = -1;
    int error = 0;
    if (auto use = handle_.Acquire()) {
        pending_.resize(before + static_cast<std::size_t>(RecvBufferSize));
        do {
            n = ::recv(use->Descriptor(), pending_.data() + before,
                       static_cast<std::size_t>(RecvBufferSize), 0);
        } while (n < 0 && errno == EINTR);
        error = n < 0 ? errno : 0;
        pending_.resize(before + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    } else {
        CheckPeerClosed(raiseIfClosed, false);
        return 0;
    }
    if (n < 0) {
        const int code = SocketErrorCode(error);
        if (code != kSendShutDown) {
            throw ENetSocketError(code);
        }
        DropSocket();
        if (pending_.empty()) {
            throw ENetSocketError(code);
        }
        n = 0;
    }
    peerClosed_ = n == 0;
    if (ASCIIFilter) {
        for (std::size_t i = before; i < pending_.size(); ++i) {
            pending_[i] = static_cast<char>(pending_[i] & 0x7F);
        }
    }
    CheckPeerClosed(raiseIfClosed, false);
    return static_cast<std::int32_t>(n);
}

std::string TNetTCPConnection::TakePending() {
    if (!IsConnected()) {
        return {};
    }
    ReceiveChunk(false, kNoLimit);
    return std::exchange(pending_, {});
}

std::string TNetTCPConnection::ReceiveAll(std::size_t limit) {
    std::string all;
    while (IsConnected()) {
        all += TakePending();
        if (all.size() > limit) {
            DropSocket();
            throw ENetReplyTooLarge();
        }
    }
    return all;
}

std::string TNetTCPConnection::ReceiveLine(std::string_view terminator, int waitMs,
                                           std::size_t maxLength) {
    const std::string_view end = terminator.empty() ? std::string_view("\n") : terminator;
    LineTimedOut = false;
    std::size_t searched = 0;
    std::size_t found = std::string::npos;
    while ((found = pending_.find(end, searched)) == std::string::npos) {
        if (pending_.size() > maxLength) {
            throw ENetLineTooLong();
        }
        searched = pending_.size() >= end.size() ? pending_.size() - end.size() + 1 : 0;
        CheckPeerClosed(true, true);
        if (ReceiveChunk(true, waitMs) == 0) {
            LineTimedOut = true;
            return {};
        }
    }
    if (found > maxLength) {
        throw ENetLineTooLong();
    }
    std::string line = pending_.substr(0, found);
    pending_.erase(0, found + end.size());
    if (terminator.empty() && !line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

void TNetTCPConnection::ReceiveExact(void* buffer, std::int32_t count, int waitMs) {
    if (buffer == nullptr || count <= 0) {
        return;
    }
    const auto wanted = static_cast<std::size_t>(count);
    while (pending_.size() < wanted) {
        if (ReceiveChunk(true, waitMs) == 0) {
            if (!handle_.Allocated()) {
                throw ENetConnClosedGracefully();
            }
            if (waitMs != kNoLimit) {
                throw ENetReadTimedOut();
            }
        }
    }
    pending_.copy(static_cast<char*>(buffer), wanted);
    pending_.erase(0, wanted);
}

}  // namespace hostlore
