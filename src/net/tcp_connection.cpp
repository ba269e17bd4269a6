#include "net/tcp_connection.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>

#include "net/anti_freeze.h"
#include "net/net_errors.h"
#include "net/socket_errors.h"
#include "net/wait_limit.h"

namespace hostlore {

namespace {

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
    intercept_.reset();
}

void TNetTCPConnection::AttachIntercept(std::unique_ptr<TNetIntercept> intercept) {
    intercept_ = std::move(intercept);
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
    if (intercept_) {
        intercept_->Send(data, static_cast<std::size_t>(count));
    } else {
        SendRaw(data, static_cast<std::size_t>(count));
    }
}

void TNetTCPConnection::SendRaw(const char* data, std::size_t count) {
    std::size_t sent = 0;
    while (sent < count) {
        ssize_t n = -1;
        int error = 0;
        if (auto use = handle_.Acquire()) {
            // Under a deadline a full send buffer is waited for only as long as
            // the exchange has left.
            const int flags = MSG_NOSIGNAL | (deadline_ ? MSG_DONTWAIT : 0);
            do {
                n = ::send(use->Descriptor(), data + sent, count - sent, flags);
            } while (n < 0 && errno == EINTR);
            error = n < 0 ? errno : 0;
            if (n < 0 && deadline_ && (error == EAGAIN || error == EWOULDBLOCK)) {
                pollfd wait{use->Descriptor(), POLLOUT, 0};
                while (::poll(&wait, 1, TimeLeftMs(kNoLimit)) < 0 && errno == EINTR) {
                }
                continue;
            }
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
        sent += static_cast<std::size_t>(n);
    }
}

int TNetTCPConnection::TimeLeftMs(int waitMs) const {
    if (!deadline_) {
        return waitMs;
    }
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*deadline_ - std::chrono::steady_clock::now())
            .count();
    if (left <= 0) {
        throw ENetReadTimedOut();
    }
    const int bounded = static_cast<int>(std::min<long long>(left, INT_MAX));
    return waitMs == kNoLimit ? bounded : std::min(waitMs, bounded);
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

bool TNetTCPConnection::WaitInSlices(int waitMs) {
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

bool TNetTCPConnection::WaitReadable(int waitMs) {
    for (;;) {
        const int wait = TimeLeftMs(waitMs);
        if (WaitInSlices(wait)) {
            return true;
        }
        if (wait == waitMs) {
            return false;  // the caller's own wait ran out, not the exchange's
        }
    }
}

std::ptrdiff_t TNetTCPConnection::ReceiveRaw(char* buffer, std::size_t size, int waitMs) {
    if (!WaitReadable(waitMs)) {
        return -1;
    }
    auto use = handle_.Acquire();
    if (!use) {
        return 0;  // closed from another thread while waiting
    }
    ssize_t n = -1;
    do {
        n = ::recv(use->Descriptor(), buffer, size, 0);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        throw ENetSocketError(SocketErrorCode(errno));
    }
    return n;
}

std::int32_t TNetTCPConnection::ReceiveChunk(bool raiseIfClosed, int waitMs) {
    CheckPeerClosed(raiseIfClosed, false);
    if (!handle_.Allocated()) {
        return 0;
    }
    const std::size_t before = pending_.size();
    const auto size = static_cast<std::size_t>(RecvBufferSize);
    pending_.resize(before + size);
    std::ptrdiff_t n = -1;
    try {
        n = intercept_ ? intercept_->Receive(pending_.data() + before, size, waitMs)
                       : ReceiveRaw(pending_.data() + before, size, waitMs);
    } catch (const ENetSocketError& error) {
        pending_.resize(before);
        if (error.Code() != kSendShutDown) {
            throw;
        }
        DropSocket();
        if (pending_.empty()) {
            throw;
        }
        n = 0;
    } catch (...) {
        pending_.resize(before);
        throw;
    }
    if (n < 0) {
        pending_.resize(before);
        return 0;
    }
    pending_.resize(before + static_cast<std::size_t>(n));
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
    LineIncomplete = false;
    std::size_t searched = 0;
    std::size_t found = std::string::npos;
    while ((found = pending_.find(end, searched)) == std::string::npos) {
        if (pending_.size() > maxLength) {
            throw ENetLineTooLong();
        }
        searched = pending_.size() >= end.size() ? pending_.size() - end.size() + 1 : 0;
        CheckPeerClosed(true, true);
        if (ReceiveChunk(true, waitMs) == 0) {
            LineIncomplete = true;
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

ExchangeDeadline::ExchangeDeadline(TNetTCPConnection& connection, int timeoutMs)
    : connection_(connection) {
    if (timeoutMs >= 0 && !connection_.deadline_) {
        connection_.deadline_ =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        set_ = true;
    }
}

ExchangeDeadline::~ExchangeDeadline() {
    if (set_) {
        connection_.deadline_.reset();
    }
}

}  // namespace hostlore
