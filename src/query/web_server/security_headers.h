#pragma once

#include <string>
#include <string_view>

#include "net/http_headers.h"
#include "query/web_server/web_server_report.h"

namespace hostlore {

inline constexpr std::string_view kStrictTransportHeader = "Strict-Transport-Security";

// What a reply's headers do for its visitors: the security headers it sends
// and how each of its cookies may travel.
SecuritySummary SummarizeSecurity(const TNetHeaderList& headers);

// A Set-Cookie value with the cookie's own value left out, its name and
// attributes kept: what the program is given to carry is nobody's to read.
std::string WithoutCookieValue(std::string_view setCookie);

// An Alt-Svc value offers HTTP/3 ("h3", or a draft's "h3-NN") somewhere.
bool AdvertisesHttp3(std::string_view altSvc);

}  // namespace hostlore
