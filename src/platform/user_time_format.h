#pragma once

#include <langinfo.h>

#include <ctime>
#include <string>

namespace hostlore {

// Formats `time` with one of the user's LC_TIME patterns (D_FMT, T_FMT), or
// with `fallback` when the locale gives none. The locale is read for every
// call, so nothing here is process-wide state.
std::string FormatInUserLocale(nl_item pattern, const char* fallback, const std::tm& time);

// The date part of a date-time in the user's short date format (D_FMT).
std::string ShortDateText(double value);

}  // namespace hostlore
