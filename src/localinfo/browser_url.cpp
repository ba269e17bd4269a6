#include "localinfo/browser_url.h"

#include <exception>

#include "net/anti_freeze.h"

namespace hostlore {

std::string UrlFromBrowserReply(const std::optional<std::string>& reply) {
    if (!reply) {
        return std::string(kNoUrl);
    }
    const std::string_view text = std::string_view(*reply).substr(0, reply->find('\0'));
    if (text.find(":///") != std::string_view::npos ||
        text.find("about:blank") != std::string_view::npos ||
        text.find('"') == std::string_view::npos) {
        return std::string(kNoUrl);
    }
    const auto end = text.size() > 2 ? text.find('"', 2) : std::string_view::npos;
    const std::string url =
        end == std::string_view::npos ? std::string() : std::string(text.substr(1, end - 1));
    // An empty URL is no URL: a query for it would do nothing.
    return url.empty() ? std::string(kNoUrl) : url;
}

std::string GetBrowserURL(BrowserUrlSource& source) {
    // The window does not respond while the browser is asked: nothing may run
    // inside the handler that asks, not even a second capture.
    const TNetAntiFreeze::HoldWindowEvents held;
    try {
        return UrlFromBrowserReply(source.ActivePageReply());
    } catch (const std::exception&) {
        // A browser's files and answers are outside our control; whatever
        // fails in reading them, memory included, leaves no URL to take.
        return std::string(kNoUrl);
    }
}

}  // namespace hostlore
