#include "support/listening_socket.h"

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "support/socket_address.h"

namespace hostlore::test {

ListeningSocket::ListeningSocket(const std::string& address, int port, Kind kind) {
    SocketAddress where = SocketAddressOf(address, port);
    listener_ = ::socket(where.storage.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    if (listener_ < 0 || ::bind(listener_, where.Pointer(), where.length) != 0 ||
        ::listen(listener_, kind == Kind::Silent ? 0 : 16) != 0 ||
        ::getsockname(listener_, where.Pointer(), &where.length) != 0) {
        if (listener_ >= 0) {
            ::close(listener_);
        }
        throw std::runtime_error("cannot listen on " + address);
    }
    port_ = where.Port();
    if (kind == Kind::Silent) {
        for (int i = 0; i < 4; ++i) {
            const int filler =
                ::socket(where.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            // Non-blocking: the handshake completes into the queue meanwhile.
            static_cast<void>(::connect(filler, where.Pointer(), where.length));
            fillers_.push_back(filler);
        }
        // The queue fills once the handshakes are through.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

ListeningSocket::~ListeningSocket() {
    for (const int filler : fillers_) {
        ::close(filler);
    }
    ::close(listener_);
}

}  // namespace hostlore::test
