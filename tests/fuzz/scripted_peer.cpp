#include "scripted_peer.h"

#include <sys/socket.h>
#include <unistd.h>

#include "fuzz_support.h"

namespace hostlore::fuzz {

ScriptedPeer::ScriptedPeer(std::string_view script, TNetTCPConnection& connection) {
    int ends[2] = {-1, -1};
    Require(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0, "socket pair");
    descriptor_ = ends[1];
    // A larger script would block this thread: the client reads only later.
    int room = static_cast<int>(script.size()) + 4096;
    ::setsockopt(descriptor_, SOL_SOCKET, SO_SNDBUF, &room, sizeof(room));
    while (!script.empty()) {
        const ssize_t sent = ::send(descriptor_, script.data(), script.size(), MSG_DONTWAIT);
        Require(sent > 0, "the script fits into the socket");
        script.remove_prefix(static_cast<std::size_t>(sent));
    }
    ::shutdown(descriptor_, SHUT_WR);
    connection.Socket().Allocate(ends[0]);
}

ScriptedPeer::~ScriptedPeer() {
    ::close(descriptor_);
}

}  // namespace hostlore::fuzz
