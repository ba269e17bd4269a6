#pragma once

#include <string>
#include <string_view>

namespace hostlore {

// The parts of a URL as the HTTP client splits it: the host ends at the first
// "/", "?" or "#", user information before it is dropped, and an IPv6 literal
// keeps its brackets. Without an authority all of it is path and document.
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
