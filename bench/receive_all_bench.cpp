// ReceiveAll against a plain recv loop, both reading the same 64 MB reply
// over loopback. Run with --benchmark_min_time=… for steadier figures.

#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "net/tcp_client.h"
#include "support/loopback_server.h"

namespace {

constexpr std::size_t kReplySize = 64u << 20;

// Sends the same 64 MB to every connection, then closes it.
class BulkServer {
  public:
    BulkServer() : reply_(kReplySize, 'w') {
        const hostlore::test::LoopbackListener listener = hostlore::test::ListenOnLoopback(4);
        listener_ = listener.descriptor;
        port_ = listener.port;
        thread_ = std::thread([this] { Serve(); });
    }
    ~BulkServer() {
        stopping_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    BulkServer(const BulkServer&) = delete;
    BulkServer& operator=(const BulkServer&) = delete;

    int Port() const { return port_; }

  private:
    void Serve() {
        while (!stopping_) {
            const int peer = ::accept(listener_, nullptr, nullptr);
            if (peer < 0) {
                continue;
            }
            std::size_t sent = 0;
            while (sent < reply_.size()) {
                const ssize_t n =
                    ::send(peer, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) {
                    break;
                }
                sent += static_cast<std::size_t>(n);
            }
            ::close(peer);
        }
    }

    std::string reply_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

BulkServer& Server() {
    static BulkServer server;
    return server;
}

void ReceiveAllOverLoopback(benchmark::State& state) {
    for (auto _ : state) {
        hostlore::TNetTCPClient client(nullptr);
        client.Host = "127.0.0.1";
        client.Port = Server().Port();
        client.OpenConnection();
        const std::string reply = client.ReceiveAll();
        if (reply.size() != kReplySize) {
            state.SkipWithError("short reply");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kReplySize));
}

void PlainRecvLoopOverLoopback(benchmark::State& state) {
    for (auto _ : state) {
        const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in address = hostlore::test::LoopbackAddress(Server().Port());
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
        std::string reply;
        char chunk[32768];
        for (;;) {
            const ssize_t n = ::recv(socket, chunk, sizeof(chunk), 0);
            if (n <= 0) {
                break;
            }
            reply.append(chunk, static_cast<std::size_t>(n));
        }
        ::close(socket);
        if (reply.size() != kReplySize) {
            state.SkipWithError("short reply");
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kReplySize));
}

}  // namespace

BENCHMARK(PlainRecvLoopOverLoopback)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ReceiveAllOverLoopback)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
