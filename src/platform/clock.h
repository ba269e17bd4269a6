#pragma once

#include <chrono>

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

// Today's local date as a day number (days from 30 December 1899).
double LocalToday(const Clock& clock);

}  // namespace hostlore
