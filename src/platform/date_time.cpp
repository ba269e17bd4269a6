#include "platform/date_time.h"

namespace hostlore {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * static_cast<unsigned>(month + (month > 2 ? -3 : 9)) + 2) / 5 +
                               static_cast<unsigned>(day) - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    const auto year =
        static_cast<int>(static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<double> EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month)) {
        return std::nullopt;
    }
    return static_cast<double>(DaysFromCivil(year, month, day)) + kUnixEpochDay;
}

bool IsWithinCalendar(double value) {
    return value >= static_cast<double>(kFirstDay) && value < static_cast<double>(kLastDay + 1);
}

CivilDate DecodeDate(std::int64_t dayNumber) {
    return CivilFromDays(dayNumber - static_cast<std::int64_t>(kUnixEpochDay));
}

std::tm TmOf(std::int64_t dayNumber, int secondsOfDay) {
    const CivilDate date = DecodeDate(dayNumber);
    std::tm tm{};
    tm.tm_year = date.year - 1900;
    tm.tm_mon = date.month - 1;
    tm.tm_mday = date.day;
    tm.tm_hour = secondsOfDay / 3600;
    tm.tm_min = secondsOfDay / 60 % 60;
    tm.tm_sec = secondsOfDay % 60;
    const std::int64_t fromEpoch = dayNumber - static_cast<std::int64_t>(kUnixEpochDay);
    tm.tm_wday = static_cast<int>(((fromEpoch % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    tm.tm_yday = static_cast<int>(fromEpoch - DaysFromCivil(date.year, 1, 1));
    return tm;
}

}  // namespace hostlore
