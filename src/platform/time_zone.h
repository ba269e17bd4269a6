#pragma once

#include <optional>
#include <string>

namespace hostlore {

enum class TimeZoneState { Unknown, Standard, Daylight };

// The local time zone as the rest of the program sees it: biases in minutes to
// add to local time to get UTC.
struct TimeZoneInformation {
    int Bias = 0;
    int StandardBias = 0;
    int DaylightBias = 0;
    std::string StandardName;
    std::string DaylightName;
    TimeZoneState State = TimeZoneState::Unknown;  // which one is in force now
};

// The zone in force now, honouring TZ; nothing when the system has no zone data.
std::optional<TimeZoneInformation> GetTimeZoneInformation();

}  // namespace hostlore
