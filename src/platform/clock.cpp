#include "platform/clock.h"

#include <ctime>

#include "platform/date_time.h"

namespace hostlore {

double LocalToday(const Clock& clock) {
    const std::time_t now = std::chrono::system_clock::to_time_t(clock.Now());
    std::tm local{};
    ::localtime_r(&now, &local);
    return *EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace hostlore
