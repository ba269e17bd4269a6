#include "localinfo/running_browsers.h"

#include <lz4.h>
#include <signal.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "localinfo/loopback_http_get.h"
#include "platform/file_text.h"

namespace hostlore {

namespace {

constexpr std::chrono::seconds kCaptureLimit{10};
constexpr std::string_view kMozLz4Magic{"mozLz40\0", 8};
constexpr std::size_t kMozLz4HeaderSize = 12;
// Far beyond any real session or list of tabs; a file or answer larger than
// this is damaged or hostile, and must not take the memory it asks for.
constexpr std::uint32_t kMaxSessionSize = 64u << 20;
constexpr std::size_t kMaxPageListReply = 1u << 20;

// A profile's "lock" link reads "ADDRESS:+PID" while Firefox runs it.
bool ProfileIsLive(const std::filesystem::path& profile) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(profile / "lock", error).string();
    const auto plus = target.rfind('+');
    if (error || plus == std::string::npos) {
        return false;
    }
    const long pid = std::strtol(target.c_str() + plus + 1, nullptr, 10);
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

// The item that the 1-based index `key` of `holder` selects in `array`; the
// first when the key is missing, none when it is no index of the array.
QJsonObject Selected(const QJsonObject& holder, const char* key, const QJsonValue& array) {
    const QJsonArray items = array.toArray();
    // A number that is no whole qint64 reads as 0, which selects nothing.
    const qint64 oneBased = holder.contains(key) ? holder.value(key).toInteger(0) : 1;
    return oneBased >= 1 && oneBased <= items.size() ? items.at(oneBased - 1).toObject()
                                                     : QJsonObject();
}

// The largest file whose block can decompress to kMaxSessionSize.
std::size_t MaxMozLz4FileSize() {
    return kMozLz4HeaderSize +
           static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(kMaxSessionSize)));
}

int DevToolsPort(const std::filesystem::path& configHome) {
    for (const char* browser : {"chromium", "google-chrome"}) {
        std::ifstream in(configHome / browser / "DevToolsActivePort");
        int port = 0;
        if (in >> port && port > 0) {
            return port;
        }
    }
    return 9222;
}

}  // namespace

std::optional<RunningBrowsers::Page> ActivePageOfSession(const std::string& json) {
    const QJsonObject session = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    const QJsonObject window = Selected(session, "selectedWindow", session.value("windows"));
    const QJsonObject tab = Selected(window, "selected", window.value("tabs"));
    const QJsonObject entry = Selected(tab, "index", tab.value("entries"));
    if (!entry.contains("url")) {
        return std::nullopt;
    }
    return RunningBrowsers::Page{entry.value("url").toString().toStdString(),
                                 entry.value("title").toString().toStdString()};
}

std::optional<RunningBrowsers::Page> FirstPageOfTargetList(const std::string& json) {
    for (const QJsonValue target :
         QJsonDocument::fromJson(QByteArray::fromStdString(json)).array()) {
        const QJsonObject page = target.toObject();
        if (page.value("type").toString() == QLatin1String("page")) {
            return RunningBrowsers::Page{page.value("url").toString().toStdString(),
                                         page.value("title").toString().toStdString()};
        }
    }
    return std::nullopt;
}

std::optional<std::string> DecodeMozLz4(std::string_view bytes) {
    if (bytes.size() < kMozLz4HeaderSize || bytes.substr(0, kMozLz4Magic.size()) != kMozLz4Magic ||
        bytes.size() > MaxMozLz4FileSize()) {
        return std::nullopt;
    }
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i) {
        size = size << 8 | static_cast<unsigned char>(bytes[8 + static_cast<std::size_t>(i)]);
    }
    // The declared size is checked before anything is allocated for it.
    if (size > kMaxSessionSize) {
        return std::nullopt;
    }
    std::string json(size, '\0');
    const int decoded = LZ4_decompress_safe(bytes.data() + kMozLz4HeaderSize, json.data(),
                                            static_cast<int>(bytes.size() - kMozLz4HeaderSize),
                                            static_cast<int>(size));
    // The header names the exact size; anything else is a damaged file.
    if (decoded != static_cast<int>(size)) {
        return std::nullopt;
    }
    return json;
}

RunningBrowsers::RunningBrowsers(std::filesystem::path home, std::filesystem::path configHome)
    : home_(std::move(home)), configHome_(std::move(configHome)) {}

RunningBrowsers RunningBrowsers::ForThisUser() {
    const char* home = std::getenv("HOME");
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::filesystem::path homePath = home != nullptr ? home : "";
    return RunningBrowsers(homePath, config != nullptr && *config != '\0'
                                         ? std::filesystem::path(config)
                                         : homePath / ".config");
}

std::optional<RunningBrowsers::Page> RunningBrowsers::FirefoxActivePage() const {
    const std::filesystem::path roots[] = {home_ / ".mozilla/firefox",
                                           configHome_ / "mozilla/firefox",
                                           home_ / "snap/firefox/common/.mozilla/firefox",
                                           home_ / ".var/app/org.mozilla.firefox/.mozilla/firefox"};
    std::filesystem::path chosen;
    bool chosenLive = false;
    std::filesystem::file_time_type chosenTime{};
    for (const auto& root : roots) {
        std::error_code error;
        for (const auto& profile : std::filesystem::directory_iterator(root, error)) {
            const auto store = profile.path() / "sessionstore-backups" / "recovery.jsonlz4";
            std::error_code missing;
            const auto written = std::filesystem::last_write_time(store, missing);
            if (missing) {
                continue;
            }
            const bool live = ProfileIsLive(profile.path());
            if (chosen.empty() || (live && !chosenLive) ||
                (live == chosenLive && written > chosenTime)) {
                chosen = store;
                chosenLive = live;
                chosenTime = written;
            }
        }
    }
    if (chosen.empty()) {
        return std::nullopt;
    }
    std::error_code error;
    if (std::filesystem::file_size(chosen, error) > MaxMozLz4FileSize() || error) {
        return std::nullopt;
    }
    const auto json = DecodeMozLz4(ReadWholeFile(chosen));
    return json ? ActivePageOfSession(*json) : std::nullopt;
}

std::optional<RunningBrowsers::Page> RunningBrowsers::ChromiumActivePage(
    std::chrono::steady_clock::time_point deadline) const {
    const auto list =
        LoopbackHttpGet(DevToolsPort(configHome_), "/json", deadline, kMaxPageListReply);
    return list ? FirstPageOfTargetList(*list) : std::nullopt;
}

std::optional<std::string> RunningBrowsers::ActivePageReply() {
    const auto deadline = std::chrono::steady_clock::now() + kCaptureLimit;
    auto page = FirefoxActivePage();
    if (!page) {
        page = ChromiumActivePage(deadline);
    }
    if (!page) {
        return std::nullopt;
    }
    return "\"" + page->first + "\",\"" + page->second + "\"";
}

}  // namespace hostlore
