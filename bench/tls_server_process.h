#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/loopback_server.h"

namespace bench {

// A TLS server answering every HEAD request with a small 200 reply, in a child
// process of its own, so that a measurement of this process leaves it out.
class TlsServerProcess {
  public:
    TlsServerProcess(const hostlore::test::TlsIdentity& identity, const std::string& address,
                     int port) {
        int ports[2];
        if (::pipe(ports) != 0 || (child_ = ::fork()) < 0) {
            std::exit(1);
        }
        if (child_ == 0) {
            hostlore::test::LoopbackServer server(
                [](hostlore::test::ServerConnection& peer) {
                    while (peer.ReadUntil("\r\n\r\n").ends_with("\r\n\r\n") &&
                           peer.Send("HTTP/1.1 200 OK\r\nServer: bench\r\nContent-Length: 0\r\n"
                                     "Date: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n")) {
                    }
                },
                {address, port, identity, 0});
            const int listening = server.Port();
            (void)!::write(ports[1], &listening, sizeof(listening));
            for (;;) {
                ::pause();
            }
        }
        if (::read(ports[0], &port_, sizeof(port_)) != sizeof(port_)) {
            std::exit(1);
        }
        ::close(ports[0]);
        ::close(ports[1]);
    }
    ~TlsServerProcess() {
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
    }
    TlsServerProcess(const TlsServerProcess&) = delete;
    TlsServerProcess& operator=(const TlsServerProcess&) = delete;

    int Port() const { return port_; }

  private:
    pid_t child_ = -1;
    int port_ = 0;
};

// A field of /proc/self/status in kB, such as VmHWM.
inline long StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":")) {
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

}  // namespace bench
