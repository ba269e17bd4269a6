#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "net/tcp_client.h"
#include "query/web_server/web_server_report.h"

namespace hostlore {

// Where an https URL's requests go: its host as connected to and its port.
struct SecureOrigin {
    std::string host;
    std::int32_t port = 443;

    bool operator==(const SecureOrigin&) const = default;
};

// None for a URL that is not https or names no valid port.
std::optional<SecureOrigin> SecureOriginOf(std::string_view url);

// Asks whether a server takes HTTP/2: one TLS handshake offering it alone,
// on a thread of its own from the start (off the processor of the thread
// that asks), through the query's proxy; the connection is closed as soon as
// the handshake is over. The deadline, a stop from any thread or the end of
// the object end it.
class Http2Probe {
  public:
    using Deadline = std::optional<std::chrono::steady_clock::time_point>;

    Http2Probe(SecureOrigin origin, const TSocksInfo& socks, std::shared_ptr<Resolver> resolver,
               Deadline deadline);
    ~Http2Probe();
    Http2Probe(const Http2Probe&) = delete;
    Http2Probe& operator=(const Http2Probe&) = delete;

    const SecureOrigin& Origin() const { return origin_; }
    bool Done() const { return done_; }
    // Waits for the answer.
    Http2Check Answer();
    void Stop();

  private:
    void Run(Deadline deadline);

    const SecureOrigin origin_;
    TNetTCPClient client_;
    std::atomic<bool> stopped_{false};
    std::atomic<bool> done_{false};
    Http2Check answer_;
    std::thread thread_;  // last: it uses the members above
};

}  // namespace hostlore
