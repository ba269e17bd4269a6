#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hostlore {

// The mark for "no usable URL came back".
inline constexpr std::string_view kNoUrl = "XXX";

// Where the page the user's browser shows is learnt; tests hand in their own.
class BrowserUrlSource {
  public:
    virtual ~BrowserUrlSource() = default;
    // The reply "URL","TITLE" for the browser's active page, or nothing when
    // no browser answers.
    virtual std::optional<std::string> ActivePageReply() = 0;
};

// The URL in a browser's reply, or "XXX" when there is none to use: no reply,
// a local file (":///"), a blank page, no quotation mark, or an empty URL.
std::string UrlFromBrowserReply(const std::optional<std::string>& reply);

// Asks the source and applies the reply's rules; any failure gives "XXX".
// Window events wait until it returns.
std::string GetBrowserURL(BrowserUrlSource& source);

}  // namespace hostlore
