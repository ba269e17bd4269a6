#pragma once

// A whois reply of about 5 MB (75,000 lines) and a loopback server that sends
// it to every connection, for the benchmarks that watch the window take it.

#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <atomic>
#include <string>
#include <thread>

#include "support/loopback_server.h"

namespace hostlore::bench {

constexpr int kWhoisReplyLines = 75'000;

inline std::string LongWhoisReply() {
    std::string reply;
    for (int i = 0; i < kWhoisReplyLines; ++i) {
        reply +=
            "Line " + std::to_string(i) + ": registrant data of a very long whois record x\r\n";
    }
    return reply;
}

// Serves the reply to each connection and notes when its last byte went out.
class WhoisReplyServer {
  public:
    explicit WhoisReplyServer(std::string reply) : reply_(std::move(reply)) {
        const test::LoopbackListener listener = test::ListenOnLoopback(4);
        listener_ = listener.descriptor;
        port_ = listener.port;
        clock_.start();
        thread_ = std::thread([this] {
            for (;;) {
                const int peer = ::accept(listener_, nullptr, nullptr);
                if (peer < 0) {
                    return;
                }
                char request[256];
                (void)::recv(peer, request, sizeof(request), 0);
                (void)::send(peer, reply_.data(), reply_.size(), MSG_NOSIGNAL);
                lastByte_ = clock_.nsecsElapsed();
                ::close(peer);
            }
        });
    }
    ~WhoisReplyServer() {
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        thread_.join();
    }
    WhoisReplyServer(const WhoisReplyServer&) = delete;
    WhoisReplyServer& operator=(const WhoisReplyServer&) = delete;

    int Port() const { return port_; }
    qint64 LastByteNs() const { return lastByte_; }
    const QElapsedTimer& Clock() const { return clock_; }

  private:
    std::string reply_;
    int listener_ = -1;
    int port_ = 0;
    QElapsedTimer clock_;
    std::atomic<qint64> lastByte_{0};
    std::thread thread_;
};

}  // namespace hostlore::bench
