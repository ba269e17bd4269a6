#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "localinfo/browser_url.h"

namespace hostlore {

// Asks the browsers a Linux desktop runs for their active page: Firefox
// through its session store, then Chromium or Chrome started with remote
// debugging. Never starts a browser; gives up after ten seconds.
class RunningBrowsers : public BrowserUrlSource {
  public:
    RunningBrowsers(std::filesystem::path home, std::filesystem::path configHome);
    // The folders of the user running the program (HOME, XDG_CONFIG_HOME).
    static RunningBrowsers ForThisUser();

    std::optional<std::string> ActivePageReply() override;

    using Page = std::pair<std::string, std::string>;  // URL and title
    std::optional<Page> FirefoxActivePage() const;
    std::optional<Page> ChromiumActivePage(std::chrono::steady_clock::time_point deadline) const;

  private:
    std::filesystem::path home_;
    std::filesystem::path configHome_;
};

// The page a Firefox session (JSON) has selected: the selected entry of the
// selected tab of the selected window.
std::optional<RunningBrowsers::Page> ActivePageOfSession(const std::string& json);

// The first page in Chromium's JSON list of debugging targets.
std::optional<RunningBrowsers::Page> FirstPageOfTargetList(const std::string& json);

// The JSON text of a Firefox "mozLz40" file, or nothing when it is not one.
std::optional<std::string> DecodeMozLz4(std::string_view bytes);

}  // namespace hostlore
