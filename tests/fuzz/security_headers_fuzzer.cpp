// A reply's header lines as servers send them, read for the Web Server page's
// security summary and HTTP/3, and shown as its lines.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "query/web_server/security_headers.h"
#include "query/web_server/web_server_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    fuzz::FuzzInput input(data, size);
    TNetHeaderList headers;
    HopReport hop{
        "https://www.example.test/", "HEAD", 200, "200 OK", "HTTP/1.1", {}, 1, {}, {}, {}};
    while (!input.Rest().empty()) {
        const std::string line = input.TakeLine();
        headers.Add(line);
        hop.headers.emplace_back(line, "");
    }
    const SecuritySummary summary = SummarizeSecurity(headers);
    fuzz::Require(summary.headers.size() == 7, "every security header is looked for");
    fuzz::Require(summary.cookies.size() == headers.Values("Set-Cookie").size(),
                  "one entry a cookie");
    for (const CookieFlags& cookie : summary.cookies) {
        fuzz::Require(cookie.name.find_first_of("=;") == std::string::npos,
                      "a cookie's name holds none of its value");
    }
    if (summary.strictTransport && summary.strictTransport->maxAgeSeconds) {
        fuzz::Require(*summary.strictTransport->maxAgeSeconds >= 0, "an age is never negative");
    }
    for (const std::string& altSvc : headers.Values("Alt-Svc")) {
        AdvertisesHttp3(altSvc);
    }
    WebServerReport report;
    report.hops = {hop};
    report.finished = true;
    report.security = summary;
    fuzz::Require(!WebServerDisplayText(WebServerLines(report)).isEmpty(), "the page shows text");
    return 0;
}
