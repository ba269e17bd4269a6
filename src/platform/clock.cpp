#include "platform/clock.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace hostlore {

std::string LocalTimeText(const Clock& clock) {
    const std::time_t now = std::chrono::system_clock::to_time_t(clock.Now());
    std::tm local{};
    ::localtime_r(&now, &local);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%S", &local);
    const long offset = local.tm_gmtoff / 60;
    std::array<char, 8> zone{};
    std::snprintf(zone.data(), zone.size(), "%c%02ld:%02ld", offset < 0 ? '-' : '+',
                  std::labs(offset) / 60, std::labs(offset) % 60);
    return std::string(text.data()) + zone.data();
}

}  // namespace hostlore
