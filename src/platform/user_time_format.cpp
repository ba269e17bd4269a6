#include "platform/user_time_format.h"

#include <locale.h>

#include <algorithm>
#include <cmath>

#include "platform/date_time.h"

namespace hostlore {

std::string FormatInUserLocale(nl_item pattern, const char* fallback, const std::tm& time) {
    locale_t userLocale = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (userLocale == static_cast<locale_t>(nullptr)) {
        userLocale = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    }
    const char* userPattern = ::nl_langinfo_l(pattern, userLocale);
    const char* used = userPattern != nullptr && *userPattern != '\0' ? userPattern : fallback;
    char text[256] = {};
    const std::size_t length = ::strftime_l(text, sizeof(text), used, &time, userLocale);
    ::freelocale(userLocale);
    return std::string(text, length);
}

std::string ShortDateText(double value) {
    // Beyond the calendar's ends (or no number at all) there is no date to show.
    std::int64_t day = 0;
    if (IsWithinCalendar(value)) {
        const auto milliseconds = static_cast<std::int64_t>(std::llround(value * 86'400'000.0));
        day = std::min(milliseconds / 86'400'000, kLastDay);
    }
    return FormatInUserLocale(D_FMT, "%m/%d/%y", TmOf(day));
}

std::string ShortDateOfMoment(std::int64_t secondsSince1970) {
    const auto moment = static_cast<std::time_t>(secondsSince1970);
    ::tzset();
    std::tm local{};
    if (::localtime_r(&moment, &local) == nullptr) {
        return ShortDateText(0);
    }
    const auto day = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return ShortDateText(day ? *day : 0);
}

std::string DaysLeftText(std::int64_t until, std::int64_t now) {
    constexpr std::int64_t kSecondsPerDay = 86'400;
    const std::int64_t days = std::max<std::int64_t>(until - now, 0) / kSecondsPerDay;
    return std::to_string(days) + (days == 1 ? " day left" : " days left");
}

}  // namespace hostlore
