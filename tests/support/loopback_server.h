#pragma once

#include <netinet/in.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hostlore::test {

class LoopbackServer;

// 127.0.0.1 at `port`.
sockaddr_in LoopbackAddress(int port);

struct LoopbackListener {
    int descriptor;
    int port;
};
// A socket listening on 127.0.0.1 and an ephemeral port; throws when there is
// none to be had.
LoopbackListener ListenOnLoopback(int backlog);
// The same on a dotted address and port of the test's choosing (0: any port).
LoopbackListener ListenOn(const std::string& dotted, int port, int backlog);

// One accepted connection, as the server's script sees it.
class ServerConnection {
  public:
    ServerConnection(LoopbackServer& server, int descriptor)
        : server_(server), descriptor_(descriptor) {}
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;
    // Reads until `ending` has arrived (or the client closed); returns all read.
    std::string ReadUntil(const std::string& ending);
    // What one receive gives: all of a short message that the client wrote at
    // once and now waits for an answer to. Empty once the client has closed.
    std::string ReadOnce();
    // False once the client has gone.
    bool Send(const std::string& bytes);
    // Ends the connection with a reset instead of an orderly close.
    void Reset();
    // Waits until the client closes its side.
    void WaitForClientClose();

  private:
    LoopbackServer& server_;
    int descriptor_;
};

// A TCP server on 127.0.0.1 and an ephemeral port (or where the test says),
// running `script` on a thread of its own for each connection it accepts. The
// connection is closed when the script returns.
class LoopbackServer {
  public:
    using Script = std::function<void(ServerConnection&)>;
    explicit LoopbackServer(Script script, const std::string& address = "127.0.0.1", int port = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }
    int Accepted() const { return accepted_; }

  private:
    friend class ServerConnection;
    void AcceptLoop();
    // Closes a connection; with `reset` the client sees a reset.
    void CloseConnection(int descriptor, bool reset);

    Script script_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> accepted_{0};
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    std::mutex mutex_;
    std::vector<std::thread> sessions_;
    std::vector<int> open_;  // connections whose scripts still run
};

}  // namespace hostlore::test
