// Typed or captured URLs split by the HTTP client and by the pages' host and
// domain helpers.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "net/uri.h"
#include "query/url_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace hostlore;
    const std::string_view url(reinterpret_cast<const char*>(data), size);

    const std::string host = HostPart(url);
    fuzz::Require(url.find(host) != std::string_view::npos, "the host is a part of the URL");
    fuzz::Require(host.find_first_of("/?#@") == std::string::npos,
                  "the host holds no path, query, fragment or user");
    const std::string domain = DomainPart(host);
    fuzz::Require(host.ends_with(domain), "the domain ends the host");
    fuzz::Require(std::count(domain.begin(), domain.end(), '.') < 2,
                  "the domain has at most two labels");

    const TNetURI uri = TNetURI::SplitURL(url);
    fuzz::Require(uri.Host.find_first_of("/?#@") == std::string::npos,
                  "the client's host holds no path, query, fragment or user");
    const auto colon = uri.Host.rfind(':');
    fuzz::Require(
        colon == std::string::npos || (uri.Host.starts_with('[') && colon < uri.Host.find(']')),
        "the client's host holds no port, only an IPv6 literal's colons");
    fuzz::Require(uri.Path.starts_with('/'), "the path starts at the root");
    fuzz::Require(uri.Document.find_first_of("/#") == std::string::npos,
                  "the document holds no folder and no bookmark");
    return 0;
}
