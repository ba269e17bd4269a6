#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "net/http_client.h"
#include "query/web_server/http2_probe.h"
#include "query/web_server/web_server_report.h"

namespace hostlore {

// The hops of the client's last exchange, as the pages and the report keep
// them: each header as sent, but for the values of the cookies.
std::vector<HopReport> HopsOf(const TNetHTTP& client);

// What the Web Server page learns beside the header request: an HTTP/2 check
// of each https server the chain reaches, made as soon as the chain connects
// to it and under the request's own deadline, and the page's report from the
// client's record. Stopped from any thread.
class WebServerFeed {
  public:
    // The deadline starts now; -2 is none.
    WebServerFeed(const TSocksInfo& socks, std::shared_ptr<Resolver> resolver, int deadlineMs);

    using Show = std::function<void(const WebServerReport&)>;

    // The chain has just connected to the server of `url`.
    void Reach(const std::string& url);
    // The chain has ended: `failure` says why when it got no reply it takes,
    // `replyRead` whether its last request got a reply all the same. Shows
    // the report with the last reply's security headers, HTTP versions and
    // TLS, once more when the HTTP/2 check ends after it.
    void Finish(const TNetHTTP& client, bool replyRead, const std::string& failure,
                const Show& show);
    // Finish would show the last report at once: the last reply came over
    // plain HTTP, or the check of its server is over (or stopped).
    bool Ready(const TNetHTTP& client);

    void Stop();

  private:
    WebServerReport FinalReport(const TNetHTTP& client, bool replyRead,
                                const std::string& failure) const;
    // The probe of the URL's server, started if it has none; null for plain
    // HTTP or once stopped.
    Http2Probe* ProbeOf(const std::string& url);
    // The probe of the server, null if it has none yet; under the mutex.
    Http2Probe* ProbeFor(const SecureOrigin& origin) const;

    const TSocksInfo socks_;
    const std::shared_ptr<Resolver> resolver_;
    const Http2Probe::Deadline deadline_;
    std::mutex mutex_;
    bool stopped_ = false;
    std::vector<std::unique_ptr<Http2Probe>> probes_;
};

}  // namespace hostlore
