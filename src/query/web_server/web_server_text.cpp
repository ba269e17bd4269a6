#include "query/web_server/web_server_text.h"

#include <QStringList>
#include <cmath>

#include "platform/network_text.h"
#include "query/query_rules.h"
#include "query/report/display_lines.h"
#include "query/web_server/certificate_rows.h"
#include "query/web_server/security_headers.h"

namespace hostlore {

namespace {

constexpr std::int64_t kSecondsPerDay = 86'400;
const std::string kIndent = "  ";

// "  NAME: VALUE", indented once.
std::string Row(std::string_view name, std::string_view value) {
    std::string row = kIndent;
    row.append(name).append(": ").append(value);
    return row;
}

std::string YesNo(bool yes) {
    return yes ? "yes" : "no";
}

std::string StrictTransportText(const StrictTransport& read, const std::string& value) {
    if (!read.maxAgeSeconds) {
        return "not valid, browsers ignore it: " + value;
    }
    std::string text = "max-age " + std::to_string(*read.maxAgeSeconds / kSecondsPerDay) + " days";
    if (read.includeSubDomains) {
        text += ", includeSubDomains";
    }
    if (read.preload) {
        text += ", preload";
    }
    return text;
}

std::string CookieText(const CookieFlags& cookie) {
    return "Cookie " + (cookie.name.empty() ? std::string("without a name") : cookie.name) + ": " +
           (cookie.secure ? "Secure" : "not Secure") + ", " +
           (cookie.httpOnly ? "HttpOnly" : "not HttpOnly") + ", " +
           (cookie.sameSite.empty() ? std::string("SameSite not set")
                                    : "SameSite=" + cookie.sameSite);
}

void AddHops(const WebServerReport& report, std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < report.hops.size(); ++i) {
        const HopReport& hop = report.hops[i];
        lines.push_back("Hop " + std::to_string(i + 1) + ": " + hop.method + " " + hop.url);
        lines.push_back(kIndent + hop.httpVersion + " " + hop.statusText + " (" +
                        std::to_string(std::llround(hop.milliseconds)) + " ms)");
        for (const auto& [name, value] : hop.headers) {
            lines.push_back(Row(name, value));
        }
    }
    if (!report.failure.empty()) {
        lines.push_back(FailedStatusText(report.failure));
    }
}

void AddSecurity(const SecuritySummary& security, std::vector<std::string>& lines) {
    lines.emplace_back("Security Headers");
    for (const SecurityHeader& header : security.headers) {
        std::string shown = header.value ? *header.value : "absent";
        if (header.value && header.name == kStrictTransportHeader && security.strictTransport) {
            shown = StrictTransportText(*security.strictTransport, *header.value);
        }
        lines.push_back(Row(header.name, shown));
    }
    if (security.cookies.empty()) {
        lines.push_back(Row("Cookies", "none"));
    }
    for (const CookieFlags& cookie : security.cookies) {
        lines.push_back(kIndent + CookieText(cookie));
    }
}

std::string Http2Text(const Http2Check& check) {
    if (check.accepted) {
        return *check.accepted ? "accepted" : "not accepted";
    }
    return check.reason.empty() ? "checking..." : "not checked: " + check.reason;
}

void AddVersions(const WebServerReport& report, std::vector<std::string>& lines) {
    lines.emplace_back("HTTP Versions");
    lines.push_back(Row("HTTP/2", Http2Text(report.http2)));
    lines.push_back(Row("HTTP/3", report.http3Advertised
                                      ? "advertised (Alt-Svc: " + *report.altSvc + ")"
                                      : std::string("not advertised")));
}

void AddTls(const WebServerReport& report, std::vector<std::string>& lines) {
    const std::optional<TNetTlsDetails>& tls = report.tls;
    if (!tls) {
        lines.emplace_back("TLS: none, the reply came over plain HTTP");
        return;
    }
    lines.emplace_back("TLS");
    lines.push_back(Row("Version", report.hops.back().tlsVersion));
    lines.push_back(Row("Cipher", report.hops.back().tlsCipher));
    lines.push_back(
        Row("Key exchange group", tls->KeyExchangeGroup.empty() ? "none" : tls->KeyExchangeGroup));
    lines.push_back(Row("OCSP response stapled", YesNo(tls->OcspStapled)));
    const std::string count = std::to_string(tls->Chain.size());
    const std::string deeper = kIndent + kIndent;
    for (std::size_t i = 0; i < tls->Chain.size(); ++i) {
        std::string heading = kIndent;
        heading.append("Certificate ").append(std::to_string(i + 1)).append(" of ").append(count);
        lines.push_back(std::move(heading));
        for (const std::string& row : CertificateRows(tls->Chain[i])) {
            lines.push_back(deeper + row);
        }
    }
}

}  // namespace

std::vector<std::string> WebServerLines(const WebServerReport& report) {
    std::vector<std::string> lines;
    AddHops(report, lines);
    if (report.security) {
        lines.emplace_back();
        AddSecurity(*report.security, lines);
        lines.emplace_back();
        AddVersions(report, lines);
        lines.emplace_back();
        AddTls(report, lines);
    }
    return lines;
}

QString WebServerDisplayText(const std::vector<std::string>& lines) {
    QStringList shown;
    for (const std::string& line : lines) {
        shown << DisplayLines(TextFromNetwork(line));
    }
    return shown.join('\n');
}

}  // namespace hostlore
