#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fixed_reply_server.h"

namespace bench {

// A server of the batch benchmark's world on ADDRESS:PORT: each connection on
// a thread of its own, answered with what `answer` gives for its request, or
// held until the client gives up when it gives nothing. Notes when each
// connection came and went.
class ThreadedServer {
  public:
    using Clock = std::chrono::steady_clock;
    using Answer = std::function<std::optional<std::string>(const std::string& request)>;
    struct Visit {
        Clock::time_point came;
        Clock::time_point went;
    };

    ThreadedServer(const char* address, int port, std::string ending, Answer answer)
        : ending_(std::move(ending)), answer_(std::move(answer)) {
        listener_ = ListeningSocket(address, port, 1024);
        acceptor_ = std::thread([this] { Accept(); });
    }
    ~ThreadedServer() {
        stopping_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        acceptor_.join();
        ::close(listener_);
        std::unique_lock lock(mutex_);
        ended_.wait(lock, [this] { return serving_ == 0; });
    }
    ThreadedServer(const ThreadedServer&) = delete;
    ThreadedServer& operator=(const ThreadedServer&) = delete;

    std::vector<Visit> Visits() const {
        std::lock_guard lock(mutex_);
        return visits_;
    }
    // Forgets the visits so far, once the connections still being served
    // have ended: a client may have its reply before its visit is logged.
    void Forget() {
        std::unique_lock lock(mutex_);
        ended_.wait(lock, [this] { return serving_ == 0; });
        visits_.clear();
    }

  private:
    void Accept() {
        while (!stopping_) {
            const int peer = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (peer < 0) {
                continue;
            }
            {
                std::lock_guard lock(mutex_);
                ++serving_;
            }
            std::thread([this, peer, came = Clock::now()] { Serve(peer, came); }).detach();
        }
    }

    void Serve(int peer, Clock::time_point came) {
        if (const auto reply = answer_(ReadRequest(peer, ending_))) {
            ::send(peer, reply->data(), reply->size(), MSG_NOSIGNAL);
        } else {
            // Silent: until the client gives up or the server stops.
            char buffer[256];
            while (!stopping_) {
                pollfd wait{peer, POLLIN, 0};
                if (::poll(&wait, 1, 100) > 0 && ::recv(peer, buffer, sizeof(buffer), 0) <= 0) {
                    break;
                }
            }
        }
        ::close(peer);
        std::lock_guard lock(mutex_);
        visits_.push_back({came, Clock::now()});
        --serving_;
        ended_.notify_all();
    }

    std::string ending_;
    Answer answer_;
    int listener_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    int serving_ = 0;
    std::vector<Visit> visits_;
};

}  // namespace bench
