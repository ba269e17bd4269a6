#pragma once

#include <langinfo.h>

#include <cstdint>
#include <ctime>
#include <string>

namespace hostlore {

// Formats `time` with one of the user's LC_TIME patterns (D_FMT, T_FMT), or
// with `fallback` when the locale gives none. The locale is read for every
// call, so nothing here is process-wide state.
std::string FormatInUserLocale(nl_item pattern, const char* fallback, const std::tm& time);

// The date part of a date-time in the user's short date format (D_FMT).
std::string ShortDateText(double value);

// The local date of a moment (seconds since 1970 UTC) in the user's short
// date format, in the zone in force at that moment.
std::string ShortDateOfMoment(std::int64_t secondsSince1970);

// The whole days from `now` until `until`, rounded down and none once past,
// as "N days left" ("1 day left").
std::string DaysLeftText(std::int64_t until, std::int64_t now);

}  // namespace hostlore
