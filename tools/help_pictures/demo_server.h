#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

using SSL_CTX = struct ssl_ctx_st;

namespace hostlore::pictures {

// The files a server answers TLS with: its certificate chain and its key, PEM.
struct DemoTls {
    std::string certificateChain;
    std::string key;
};

// A TCP server for the pictures' private network: for each connection it reads
// the request up to `requestEnd`, sends what `reply` makes of it and closes;
// over TLS when given its files.
class DemoServer {
  public:
    using Reply = std::function<std::string(const std::string& request)>;
    DemoServer(const std::string& address, int port, std::string requestEnd, Reply reply,
               const std::optional<DemoTls>& tls = std::nullopt);
    ~DemoServer();
    DemoServer(const DemoServer&) = delete;
    DemoServer& operator=(const DemoServer&) = delete;

  private:
    void Serve();
    void Answer(int connection);

    int listener_ = -1;
    std::string requestEnd_;
    Reply reply_;
    std::unique_ptr<SSL_CTX, void (*)(SSL_CTX*)> tls_;
    std::thread thread_;
};

}  // namespace hostlore::pictures
