#pragma once

#include <string>
#include <string_view>

#include "net/net_errors.h"

namespace hostlore {

class ENetFailedToRetreiveTimeZoneInfo : public ENetException {
  public:
    ENetFailedToRetreiveTimeZoneInfo()
        : ENetException("Failed attempting to retrieve time zone information.") {}
};

// Reads "Sun, 06 Nov 1994 08:49:37 GMT" (week-day and time optional) into a
// date-time in the header's own zone; 0 for any other form. The date and time
// words are taken out of `text`, which keeps the zone.
double ParseInternetDate(std::string& text);

// "+hhmm" or "-hhmm" as a fraction of a day; any zone name counts as UTC.
double ZoneOffsetFromText(std::string_view text);

// The local offset from UTC in force now, as a fraction of a day.
double LocalOffsetFromUTC();

// A date header as local date-time, shifted by the offset in force now.
double InternetDateToLocal(std::string_view text);

}  // namespace hostlore
