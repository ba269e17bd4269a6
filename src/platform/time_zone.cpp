#include "platform/time_zone.h"

#include <ctime>

namespace hostlore {

std::optional<TimeZoneInformation> GetTimeZoneInformation() {
    ::tzset();
    const std::time_t now = std::time(nullptr);
    std::tm current{};
    if (::localtime_r(&now, &current) == nullptr) {
        return std::nullopt;
    }
    // The smallest offset of the year around now is standard time, the largest daylight time.
    std::tm standard = current;
    std::tm daylight = current;
    constexpr std::time_t kDay = 24 * 60 * 60;
    for (int day = -183; day <= 183; ++day) {
        const std::time_t when = now + static_cast<std::time_t>(day) * kDay;
        std::tm sample{};
        if (::localtime_r(&when, &sample) == nullptr) {
            return std::nullopt;
        }
        if (sample.tm_gmtoff < standard.tm_gmtoff) {
            standard = sample;
        }
        if (sample.tm_gmtoff > daylight.tm_gmtoff) {
            daylight = sample;
        }
    }
    TimeZoneInformation zone;
    zone.Bias = static_cast<int>(-standard.tm_gmtoff / 60);
    zone.DaylightBias = static_cast<int>(-(daylight.tm_gmtoff - standard.tm_gmtoff) / 60);
    zone.StandardName = standard.tm_zone != nullptr ? standard.tm_zone : "";
    zone.DaylightName = daylight.tm_zone != nullptr ? daylight.tm_zone : "";
    if (standard.tm_gmtoff == daylight.tm_gmtoff) {
        zone.State = TimeZoneState::Unknown;
    } else if (current.tm_gmtoff == daylight.tm_gmtoff) {
        zone.State = TimeZoneState::Daylight;
    } else {
        zone.State = TimeZoneState::Standard;
    }
    return zone;
}

}  // namespace hostlore
