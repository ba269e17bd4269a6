#pragma once

#include <string>
#include <string_view>

namespace hostlore {

// The parts of a URL as the HTTP client splits it; user information before
// the host is dropped. An IPv6 literal host keeps its brackets.
struct TNetURI {
    std::string Protocol;
    std::string Host;
    std::string Port;
    std::string Path;
    std::string Document;
    std::string Bookmark;

    static TNetURI SplitURL(std::string_view url);
};

}  // namespace hostlore
