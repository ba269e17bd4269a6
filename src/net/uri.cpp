#include "net/uri.h"

#include <algorithm>

#include "net/url_syntax.h"

namespace hostlore {

TNetURI TNetURI::SplitURL(std::string_view url) {
    TNetURI uri;
    std::string text(url);
    std::replace(text.begin(), text.end(), '\\', '/');
    std::string rest = text;
    const UrlParts parts = SplitUrl(text);
    if (parts.authority) {
        uri.Protocol = std::string(parts.scheme.value_or(""));
        // User information names no host; the other pages query the host after
        // it as well.
        const UrlAuthority authority = SplitAuthority(*parts.authority);
        uri.Host = std::string(authority.host);
        uri.Port = std::string(authority.port.value_or(""));
        rest = text.substr(parts.authority->data() + parts.authority->size() - text.data());
        if (rest.starts_with('/')) {
            rest.erase(0, 1);
        }
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
