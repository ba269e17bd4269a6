#pragma once

#include <netinet/in.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/test_certificates.h"

struct ssl_st;
struct ssl_ctx_st;

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
// The same on an address (IPv4 or IPv6) and port of the test's choosing (0:
// any port).
LoopbackListener ListenOn(const std::string& address, int port, int backlog);

// One accepted connection, as the server's script sees it; over TLS its
// reads and writes carry the decrypted bytes.
class ServerConnection {
  public:
    ServerConnection(LoopbackServer& server, int descriptor, ssl_st* tls = nullptr)
        : server_(server), descriptor_(descriptor), tls_(tls) {}
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
    // Over TLS: closes the connection without the closing alert, as if it
    // had been cut on the way.
    void CloseWithoutTlsEnd();
    // Waits until the client closes its side.
    void WaitForClientClose();

    // Over TLS: the name the client sent (SNI) and the protocol both chose
    // (ALPN); empty when there was none.
    std::string TlsServerName() const;
    std::string TlsProtocol() const;

  private:
    std::ptrdiff_t ReceiveSome(char* buffer, std::size_t size);

    LoopbackServer& server_;
    int descriptor_;
    ssl_st* tls_;
};

// What a TLS server does when the client offers none of its protocols: go on
// without one, refuse with an alert, or answer with its own all the same (as
// Apache does).
enum class OtherProtocols { GoOn, Refuse, AnswerOwn };

// Where a server listens, and whether it speaks TLS first.
struct ServerOptions {
    std::string address = "127.0.0.1";
    int port = 0;  // 0: an ephemeral one
    std::optional<TlsIdentity> tls{};
    // Over TLS: the newest version it accepts (0: the newest there is).
    int tlsMaxVersion = 0;
    // Over TLS: the application protocols it takes, the first the client
    // offers, and what a client offering none of them gets.
    std::vector<std::string> protocols{"http/1.1"};
    OtherProtocols otherProtocols = OtherProtocols::GoOn;
    // Over TLS: the key exchange groups it accepts, as OpenSSL lists them
    // ("P-384:X25519"); empty for OpenSSL's own choice.
    std::string groups{};
    // Over TLS: the file of an OCSP response sent to every client asking for one.
    std::string stapledResponseFile{};
    // Over TLS: the number of connections that get the handshake (-1: all);
    // the script runs on the bare socket of the later ones.
    int tlsConnections = -1;
};

// A TCP server on 127.0.0.1 and an ephemeral port (or where the options say,
// IPv6 addresses too),
// running `script` on a thread of its own for each connection it accepts,
// after the TLS handshake when it has an identity (a connection whose
// handshake fails is closed). The connection is closed when the script
// returns.
class LoopbackServer {
  public:
    using Script = std::function<void(ServerConnection&)>;
    explicit LoopbackServer(Script script, const ServerOptions& options = {});
    LoopbackServer(Script script, const std::string& address, int port = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }
    int Accepted() const { return accepted_; }

  private:
    friend class ServerConnection;
    friend struct TlsCallbacks;
    void SetUpTls(const ServerOptions& options);
    void AcceptLoop();
    void Serve(int descriptor, bool secure);
    // Closes a connection; with `reset` the client sees a reset.
    void CloseConnection(int descriptor, bool reset);

    Script script_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> accepted_{0};
    ssl_ctx_st* tls_ = nullptr;
    std::string protocols_;  // in ALPN's wire form
    OtherProtocols otherProtocols_ = OtherProtocols::GoOn;
    std::string stapledResponse_;
    int tlsConnections_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    std::mutex mutex_;
    std::vector<std::thread> sessions_;
    std::vector<int> open_;  // connections whose scripts still run
};

}  // namespace hostlore::test
