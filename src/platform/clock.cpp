#include "platform/clock.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace hostlore {

std::string LocalTimeText(const Clock& clock) {
    const std::time_t now = std::chrono::system_clock::to_time_t(clock.Now());
    ::tzset();  // the zone in force now, as the page's dates have it
    std::tm local{};
    ::localtime_r(&now, &local);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S", &local);
    const long offset = local.tm_gmtoff / 60;
    std::array<char, 32> zone{};  // room for any long, so no output can be cut
    std::snprintf(zone.data(), zone.size(), "%c%02ld:%02ld", offset < 0 ? '-' : '+',
                  std::labs(offset) / 60, std::labs(offset) % 60);
    return std::string(text.data()) + zone.data();
}

std::string UtcTimeText(std::int64_t secondsSince1970) {
    const auto moment = static_cast<std::time_t>(secondsSince1970);
    std::tm utc{};
    ::gmtime_r(&moment, &utc);
    std::array<char, 40> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text.data();
}

std::int64_t SecondsNow(const Clock& clock) {
    return std::chrono::duration_cast<std::chrono::seconds>(clock.Now().time_since_epoch()).count();
}

}  // namespace hostlore
