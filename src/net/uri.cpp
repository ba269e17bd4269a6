#include "net/uri.h"

#include <algorithm>

namespace hostlore {

TNetURI TNetURI::SplitURL(std::string_view url) {
    TNetURI uri;
    std::string rest(url);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    if (const auto scheme = rest.find("://"); scheme != std::string::npos) {
        uri.Protocol = rest.substr(0, scheme);
        rest.erase(0, scheme + 3);
        const auto slash = rest.find('/');
        std::string hostPart = rest.substr(0, slash);
        rest.erase(0, slash == std::string::npos ? rest.size() : slash + 1);
        // User information ("user:password@") names no host; the other pages
        // query the host after it as well.
        if (const auto at = hostPart.rfind('@'); at != std::string::npos) {
            hostPart.erase(0, at + 1);
        }
        // An IPv6 literal's colons are inside its brackets.
        const auto closing = hostPart.starts_with('[') ? hostPart.find(']') : std::string::npos;
        const auto colon = hostPart.find(':', closing == std::string::npos ? 0 : closing);
        uri.Host = hostPart.substr(0, colon);
        uri.Port = colon == std::string::npos ? std::string() : hostPart.substr(colon + 1);
    }
    if (const auto slash = rest.rfind('/'); slash != std::string::npos) {
        uri.Path = rest.substr(0, slash + 1);
        uri.Document = rest.substr(slash + 1);
    } else {
        uri.Document = rest;
    }
    if (uri.Path.empty() || uri.Path.front() != '/') {
        uri.Path.insert(uri.Path.begin(), '/');
    }
    if (const auto hash = uri.Document.find('#'); hash != std::string::npos) {
        uri.Bookmark = uri.Document.substr(hash + 1);
        uri.Document.erase(hash);
    }
    return uri;
}

}  // namespace hostlore
