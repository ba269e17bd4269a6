#pragma once

#include <QString>
#include <string>
#include <vector>

#include "query/web_server/web_server_report.h"

namespace hostlore {

// The Web Server page's lines for what is known so far: each hop with its
// headers, then, once the chain has ended with a reply, its security headers,
// the HTTP versions and TLS. Texts from the network stay their bytes.
std::vector<std::string> WebServerLines(const WebServerReport& report);

// The lines as the page shows them: each as text from the network, a long
// one cut for display.
QString WebServerDisplayText(const std::vector<std::string>& lines);

}  // namespace hostlore
