#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace hostlore {

// Where the program learns what time it is; tests hand in a fixed one.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point Now() const = 0;
};

class SystemClock : public Clock {
  public:
    std::chrono::system_clock::time_point Now() const override {
        return std::chrono::system_clock::now();
    }
};

// The clock's time as local time in ISO 8601 with the zone's offset:
// "2021-03-10T13:00:00+01:00".
std::string LocalTimeText(const Clock& clock);

// A moment (seconds since 1970) in ISO 8601 UTC: "2021-03-10T12:00:00Z".
std::string UtcTimeText(std::int64_t secondsSince1970);

// The clock's time in seconds since 1970.
std::int64_t SecondsNow(const Clock& clock);

}  // namespace hostlore
