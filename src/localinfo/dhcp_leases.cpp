#include "localinfo/dhcp_leases.h"

#include <sys/stat.h>

#include <charconv>
#include <climits>
#include <filesystem>
#include <sstream>

#include "platform/date_time.h"
#include "platform/file_text.h"
#include "platform/text_trim.h"

namespace hostlore {

namespace {

std::string Unquoted(std::string_view text) {
    text = TrimControls(text);
    if (!text.empty() && text.back() == ';') {
        text.remove_suffix(1);
    }
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return std::string(text);
}

std::vector<std::string> CommaList(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream list(text);
    for (std::string item; std::getline(list, item, ',');) {
        if (const auto trimmed = TrimControls(item); !trimmed.empty()) {
            items.emplace_back(trimmed);
        }
    }
    return items;
}

// "3 2023/01/04 12:00:00" (UTC) or "epoch 1672833600".
std::int64_t LeaseTime(const std::string& value) {
    std::istringstream words(value);
    std::string first;
    words >> first;
    if (first == "epoch") {
        std::int64_t seconds = 0;
        words >> seconds;
        return seconds;
    }
    std::string date;
    std::string time;
    words >> date >> time;
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (std::sscanf(date.c_str(), "%d/%d/%d", &year, &month, &day) != 3 ||
        std::sscanf(time.c_str(), "%d:%d:%d", &hour, &minute, &second) != 3) {
        return 0;
    }
    const auto dayNumber = EncodeDate(year, month, day);
    if (!dayNumber) {
        return 0;
    }
    const std::int64_t secondsOfDay =
        std::int64_t{hour} * 3600 + std::int64_t{minute} * 60 + second;
    return static_cast<std::int64_t>(*dayNumber - kUnixEpochDay) * 86400 + secondsOfDay;
}

// Seconds from `start` by a lifetime in decimal; 0 (no expiry known) for a
// lifetime that is no number, negative, or beyond any clock.
std::int64_t ExpiryAfter(std::int64_t start, std::string_view lifetime) {
    std::int64_t seconds = 0;
    const auto [end, error] =
        std::from_chars(lifetime.data(), lifetime.data() + lifetime.size(), seconds);
    std::int64_t expiry = 0;
    if (error != std::errc() || end != lifetime.data() + lifetime.size() || seconds < 0 ||
        __builtin_add_overflow(start, seconds, &expiry)) {
        return 0;
    }
    return expiry;
}

// The record holds 32-bit times; one it cannot hold is shown as none.
std::int32_t RecordTime(std::int64_t seconds) {
    return seconds >= INT32_MIN && seconds <= INT32_MAX ? static_cast<std::int32_t>(seconds) : 0;
}

}  // namespace

std::optional<DhcpLease> ParseDhclientLeases(std::string_view content,
                                             const std::string& interface) {
    std::optional<DhcpLease> last;
    std::istringstream lines{std::string(content)};
    DhcpLease lease;
    std::string leaseInterface;
    std::int64_t leaseTime = 0;
    bool inLease = false;
    for (std::string raw; std::getline(lines, raw);) {
        const std::string line(TrimControls(raw));
        if (line.rfind("lease", 0) == 0 && line.find('{') != std::string::npos) {
            inLease = true;
            lease = DhcpLease{};
            leaseInterface.clear();
            leaseTime = 0;
        } else if (inLease && line == "}") {
            inLease = false;
            if (leaseInterface == interface) {
                if (leaseTime > 0 && lease.expires > 0) {
                    lease.obtained = lease.expires - leaseTime;
                }
                last = lease;
            }
        } else if (inLease) {
            std::istringstream words(line);
            std::string keyword;
            words >> keyword;
            std::string rest;
            std::getline(words, rest);
            if (keyword == "interface") {
                leaseInterface = Unquoted(rest);
            } else if (keyword == "expire") {
                lease.expires = LeaseTime(Unquoted(rest));
            } else if (keyword == "option") {
                std::istringstream option(rest);
                std::string name;
                option >> name;
                std::string value;
                std::getline(option, value);
                value = Unquoted(value);
                if (name == "dhcp-server-identifier") {
                    lease.server = value;
                } else if (name == "dhcp-lease-time") {
                    leaseTime = std::atoll(value.c_str());
                } else if (name == "netbios-name-servers") {
                    lease.winsServers = CommaList(value);
                }
            }
        }
    }
    return last;
}

std::optional<DhcpLease> ParseNetworkdLease(std::string_view content, std::int64_t writtenAt) {
    std::optional<DhcpLease> lease;
    std::istringstream lines{std::string(content)};
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (!lease) {
            lease = DhcpLease{};
            lease->obtained = writtenAt;
        }
        if (key == "SERVER_ADDRESS") {
            lease->server = value;
        } else if (key == "LIFETIME") {
            lease->expires = ExpiryAfter(writtenAt, value);
        }
    }
    return lease;
}

void ApplyDhcpLease(AdapterInfo& adapter, const std::map<int, LeasedAddress>& leasedAddresses) {
    std::optional<DhcpLease> lease;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator("/var/lib/dhcp", error)) {
        const std::string name = file.path().filename().string();
        if (name.rfind("dhclient", 0) == 0 && file.path().extension() == ".leases") {
            if (auto found = ParseDhclientLeases(ReadWholeFile(file.path()), adapter.AdapterName)) {
                lease = found;
            }
        }
    }
    const std::filesystem::path networkd =
        "/run/systemd/netif/leases/" + std::to_string(adapter.Index);
    struct stat info {};
    if (!lease && ::stat(networkd.c_str(), &info) == 0) {
        lease = ParseNetworkdLease(ReadWholeFile(networkd), info.st_mtime);
    }
    if (!lease) {
        // Other DHCP clients leave no file we know, but the address they set expires.
        if (const auto found = leasedAddresses.find(adapter.Index);
            found != leasedAddresses.end()) {
            lease = DhcpLease{{}, {}, found->second.obtained, found->second.expires};
        }
    }
    if (!lease) {
        return;
    }
    adapter.DhcpEnabled = 1;
    if (!lease->server.empty()) {
        adapter.DhcpServer = {{lease->server, ""}};
    }
    if (!lease->winsServers.empty()) {
        adapter.HaveWins = 1;
        adapter.PrimaryWinsServer = {{lease->winsServers[0], ""}};
        if (lease->winsServers.size() > 1) {
            adapter.SecondaryWinsServer = {{lease->winsServers[1], ""}};
        }
    }
    adapter.LeaseObtained = RecordTime(lease->obtained);
    adapter.LeaseExpires = RecordTime(lease->expires);
}

}  // namespace hostlore
