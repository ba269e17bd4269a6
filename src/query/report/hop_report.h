#pragma once

#include <string>
#include <utility>
#include <vector>

namespace hostlore {

// One request of the header request and its reply, as the server sent it.
struct HopReport {
    std::string url;
    std::string method;
    int status = 0;
    std::string statusText;                                    // "301 Moved Permanently"
    std::string httpVersion;                                   // "HTTP/1.1"
    std::vector<std::pair<std::string, std::string>> headers;  // in order, case kept
    double milliseconds = 0;
    std::string location;    // the redirect followed, made absolute; empty for the last
    std::string tlsVersion;  // empty over plain HTTP
    std::string tlsCipher;
};

}  // namespace hostlore
