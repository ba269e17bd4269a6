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

#include "net/net_errors.h"
#include "net/tcp_client.h"
#include "platform/file_text.h"

namespace hostlore {

namespace {

constexpr std::chrono::seconds kCaptureLimit{10};
constexpr std::string_view kMozLz4Magic{"mozLz40\0", 8};

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

QJsonValue At(const QJsonValue& array, qint64 oneBasedIndex) {
    const QJsonArray items = array.toArray();
    const qint64 index = oneBasedIndex - 1;
    return index >= 0 && index < items.size() ? items.at(index) : QJsonValue();
}

std::optional<RunningBrowsers::Page> ActivePageOfSession(const std::string& json) {
    const QJsonObject session = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    const QJsonObject window =
        At(session.value("windows"), session.value("selectedWindow").toInteger(1)).toObject();
    const QJsonObject tab =
        At(window.value("tabs"), window.value("selected").toInteger(1)).toObject();
    const QJsonObject entry = At(tab.value("entries"), tab.value("index").toInteger(1)).toObject();
    if (!entry.contains("url")) {
        return std::nullopt;
    }
    return RunningBrowsers::Page{entry.value("url").toString().toStdString(),
                                 entry.value("title").toString().toStdString()};
}

std::optional<std::string> HttpGet(int port, const std::string& target,
                                   std::chrono::steady_clock::time_point deadline) {
    TNetTCPClient client(nullptr);
    client.Host = "127.0.0.1";
    client.Port = port;
    try {
        client.OpenConnection();
        client.SendText("GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
        while (client.IsConnected()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                client.CloseConnection();
                return std::nullopt;
            }
            client.ReceiveChunk(false, static_cast<int>(left.count()));
        }
    } catch (const ENetException&) {
        return std::nullopt;
    }
    const std::string& reply = client.PendingInput();
    const auto body = reply.find("\r\n\r\n");
    return body == std::string::npos ? std::nullopt : std::optional(reply.substr(body + 4));
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

std::optional<std::string> DecodeMozLz4(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 8) != kMozLz4Magic) {
        return std::nullopt;
    }
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i) {
        size = size << 8 | static_cast<unsigned char>(bytes[8 + static_cast<std::size_t>(i)]);
    }
    if (size > (256u << 20)) {
        return std::nullopt;
    }
    std::string json(size, '\0');
    const int decoded =
        LZ4_decompress_safe(bytes.data() + 12, json.data(), static_cast<int>(bytes.size() - 12),
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
    const auto json = DecodeMozLz4(ReadWholeFile(chosen));
    return json ? ActivePageOfSession(*json) : std::nullopt;
}

std::optional<RunningBrowsers::Page> RunningBrowsers::ChromiumActivePage(
    std::chrono::steady_clock::time_point deadline) const {
    const auto list = HttpGet(DevToolsPort(configHome_), "/json", deadline);
    if (!list) {
        return std::nullopt;
    }
    for (const QJsonValue target :
         QJsonDocument::fromJson(QByteArray::fromStdString(*list)).array()) {
        const QJsonObject page = target.toObject();
        if (page.value("type").toString() == QLatin1String("page")) {
            return Page{page.value("url").toString().toStdString(),
                        page.value("title").toString().toStdString()};
        }
    }
    return std::nullopt;
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
