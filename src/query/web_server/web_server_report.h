#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/tls_details.h"
#include "query/report/hop_report.h"

namespace hostlore {

// Strict-Transport-Security as browsers read it.
struct StrictTransport {
    std::optional<std::int64_t> maxAgeSeconds;  // none when browsers ignore the header
    bool includeSubDomains = false;
    bool preload = false;

    bool operator==(const StrictTransport&) const = default;
};

// One header that protects a site's visitors, and its value when sent
// (several lines of it joined by ", ").
struct SecurityHeader {
    std::string name;
    std::optional<std::string> value;
};

// How a cookie may travel; its value is never kept.
struct CookieFlags {
    std::string name;
    bool secure = false;
    bool httpOnly = false;
    std::string sameSite;  // as sent; empty when not set

    bool operator==(const CookieFlags&) const = default;
};

struct SecuritySummary {
    std::vector<SecurityHeader> headers;  // every header looked for, in one order
    std::optional<StrictTransport> strictTransport;
    std::vector<CookieFlags> cookies;
};

// Whether the server takes HTTP/2 when offered it alone.
struct Http2Check {
    std::optional<bool> accepted;  // none while unknown
    std::string reason;            // why it is unknown
};

// What the header request and the checks beside it found of the web server.
struct WebServerReport {
    std::vector<HopReport> hops;
    bool finished = false;
    std::string failure;  // why the chain ended before a reply it could take
    // Of the last reply, once the chain has ended with one.
    std::optional<SecuritySummary> security;
    Http2Check http2;
    std::optional<std::string> altSvc;  // the last reply's Alt-Svc
    bool http3Advertised = false;
    // Of the server that gave the last reply, when it answered over TLS; its
    // version and cipher are the last hop's.
    std::optional<TNetTlsDetails> tls;
};

}  // namespace hostlore
