#include "query/web_server/web_server_feed.h"

#include "platform/ascii_text.h"
#include "query/web_server/security_headers.h"

namespace hostlore {

namespace {

Http2Probe::Deadline DeadlineIn(int milliseconds) {
    if (milliseconds < 0) {
        return std::nullopt;
    }
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

TNetHeaderList HeaderList(const HopReport& hop) {
    TNetHeaderList list;
    for (const auto& [name, value] : hop.headers) {
        std::string line = name;
        line.append(": ").append(value);
        list.Add(std::move(line));
    }
    return list;
}

}  // namespace

std::vector<HopReport> HopsOf(const TNetHTTP& client) {
    std::vector<HopReport> hops;
    for (const TNetHop& hop : client.Hops) {
        HopReport& report = hops.emplace_back();
        report.url = hop.URL;
        report.method = hop.Method;
        report.status = hop.ReplyCode;
        report.statusText = hop.ReplyText;
        report.httpVersion = hop.Version;
        for (const TNetHeaderField& field : hop.Headers) {
            report.headers.emplace_back(field.Name, EqualsIgnoringCase(field.Name, "Set-Cookie")
                                                        ? WithoutCookieValue(field.Value)
                                                        : field.Value);
        }
        report.milliseconds = hop.Milliseconds;
        report.location = hop.Target;
        report.tlsVersion = hop.TlsVersion;
        report.tlsCipher = hop.TlsCipher;
    }
    return hops;
}

WebServerFeed::WebServerFeed(const TSocksInfo& socks, std::shared_ptr<Resolver> resolver,
                             int deadlineMs)
    : socks_(socks), resolver_(std::move(resolver)), deadline_(DeadlineIn(deadlineMs)) {}

void WebServerFeed::Reach(const std::string& url) {
    ProbeOf(url);
}

Http2Probe* WebServerFeed::ProbeOf(const std::string& url) {
    const auto origin = SecureOriginOf(url);
    const std::lock_guard lock(mutex_);
    if (!origin || stopped_) {
        return nullptr;
    }
    if (Http2Probe* probe = ProbeFor(*origin)) {
        return probe;
    }
    return probes_.emplace_back(std::make_unique<Http2Probe>(*origin, socks_, resolver_, deadline_))
        .get();
}

Http2Probe* WebServerFeed::ProbeFor(const SecureOrigin& origin) const {
    for (const auto& probe : probes_) {
        if (probe->Origin() == origin) {
            return probe.get();
        }
    }
    return nullptr;
}

bool WebServerFeed::Ready(const TNetHTTP& client) {
    const auto origin = client.Hops.empty() ? std::nullopt : SecureOriginOf(client.Hops.back().URL);
    if (!origin) {
        return true;
    }
    const std::lock_guard lock(mutex_);
    const Http2Probe* probe = ProbeFor(*origin);
    return probe != nullptr ? probe->Done() : stopped_;
}

WebServerReport WebServerFeed::FinalReport(const TNetHTTP& client, bool replyRead,
                                           const std::string& failure) const {
    WebServerReport report;
    report.hops = HopsOf(client);
    report.finished = true;
    report.failure = failure;
    if (report.hops.empty() || !replyRead) {
        return report;
    }
    const HopReport& last = report.hops.back();
    const TNetHeaderList headers = HeaderList(last);
    report.security = SummarizeSecurity(headers);
    if (const auto altSvc = headers.Values("Alt-Svc"); !altSvc.empty()) {
        report.altSvc = altSvc.front();
        report.http3Advertised = AdvertisesHttp3(*report.altSvc);
    }
    report.tls = client.PeerTls;
    return report;
}

void WebServerFeed::Finish(const TNetHTTP& client, bool replyRead, const std::string& failure,
                           const Show& show) {
    WebServerReport report = FinalReport(client, replyRead, failure);
    if (!report.security) {
        show(report);
        return;
    }
    const std::string& url = report.hops.back().url;
    if (!SecureOriginOf(url)) {
        report.http2.reason = "the reply came over plain HTTP";
        show(report);
        return;
    }
    Http2Probe* probe = ProbeOf(url);
    if (probe == nullptr) {
        report.http2.reason = "stopped";
    } else if (!probe->Done()) {
        show(report);
        report.http2 = probe->Answer();
    } else {
        report.http2 = probe->Answer();
    }
    show(report);
}

void WebServerFeed::Stop() {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
    for (const auto& probe : probes_) {
        probe->Stop();
    }
}

}  // namespace hostlore
