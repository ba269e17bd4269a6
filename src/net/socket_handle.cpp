#include "net/socket_handle.h"

#include <sys/socket.h>
#include <unistd.h>

namespace hostlore {

TNetSocketHandle::~TNetSocketHandle() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

void TNetSocketHandle::Allocate(int descriptor) {
    std::lock_guard lock(mutex_);
    if (descriptor_ >= 0) {
        ::close(descriptor_);  // left by a drop; its last user is gone
    }
    descriptor_ = descriptor;
    allocated_ = true;
}

bool TNetSocketHandle::Allocated() const {
    std::lock_guard lock(mutex_);
    return allocated_;
}

bool TNetSocketHandle::Replace(int descriptor) {
    std::lock_guard lock(mutex_);
    if (!allocated_) {
        return false;
    }
    ::close(descriptor_);
    descriptor_ = descriptor;
    return true;
}

bool TNetSocketHandle::Drop() {
    std::lock_guard lock(mutex_);
    if (!allocated_) {
        return false;
    }
    allocated_ = false;
    // Sends the peer our close and wakes a call that waits on the socket.
    ::shutdown(descriptor_, SHUT_RDWR);
    if (users_ == 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    localIp_.clear();
    localPort_ = 0;
    peerIp_.clear();
    peerPort_ = 0;
    return true;
}

std::optional<TNetSocketHandle::Use> TNetSocketHandle::Acquire() {
    std::lock_guard lock(mutex_);
    if (!allocated_) {
        return std::nullopt;
    }
    ++users_;
    return Use(this, descriptor_);
}

void TNetSocketHandle::Release() {
    std::lock_guard lock(mutex_);
    if (--users_ == 0 && !allocated_ && descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

TNetSocketHandle::Use::Use(Use&& other) noexcept
    : handle_(other.handle_), descriptor_(other.descriptor_) {
    other.handle_ = nullptr;
}

TNetSocketHandle::Use::~Use() {
    if (handle_ != nullptr) {
        handle_->Release();
    }
}

void TNetSocketHandle::SetAddresses(std::string localIp, int localPort, std::string peerIp,
                                    int peerPort) {
    std::lock_guard lock(mutex_);
    localIp_ = std::move(localIp);
    localPort_ = localPort;
    peerIp_ = std::move(peerIp);
    peerPort_ = peerPort;
}

std::string TNetSocketHandle::PeerIp() const {
    std::lock_guard lock(mutex_);
    return peerIp_;
}

int TNetSocketHandle::PeerPort() const {
    std::lock_guard lock(mutex_);
    return peerPort_;
}

std::string TNetSocketHandle::LocalIp() const {
    std::lock_guard lock(mutex_);
    return localIp_;
}

int TNetSocketHandle::LocalPort() const {
    std::lock_guard lock(mutex_);
    return localPort_;
}

}  // namespace hostlore
