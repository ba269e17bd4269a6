#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hostlore {

// Reads "Sun, 06 Nov 1994 08:49:37 GMT" (week-day and time optional) into a
// date-time in the header's own zone; 0 for any other form. The date and time
// words are taken out of `text`, which keeps the zone.
double ParseInternetDate(std::string& text);

// "+hhmm" or "-hhmm" as a fraction of a day; any zone name counts as UTC.
double ZoneOffsetFromText(std::string_view text);

// A date header as local date-time, shifted by the local offset in force at
// that instant, as the certificate's dates are; 0 for a header that is no
// date or that the shift takes beyond the calendar.
double InternetDateToLocal(std::string_view text);

// The same header as an instant, seconds since 1970 UTC; none for a header
// that is no date.
std::optional<std::int64_t> InternetDateSeconds(std::string_view text);

}  // namespace hostlore
