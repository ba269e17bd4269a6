#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace hostlore {

// Dates and times are counted in days from 30 December 1899, the time of day
// as the fraction; 0 stands for no date.
inline constexpr double kUnixEpochDay = 25569.0;  // 1 January 1970
// The calendar's ends: 1 January of the year 1 and 31 December 9999.
inline constexpr std::int64_t kFirstDay = -693593;
inline constexpr std::int64_t kLastDay = 2958465;

// True for a date-time within the calendar's ends (NaN is not).
bool IsWithinCalendar(double value);

struct CivilDate {
    int year;
    int month;  // 1 to 12
    int day;    // 1 to 31
};

// The day number of a calendar date with a year from 1 to 9999, or nothing
// when no such date exists.
std::optional<double> EncodeDate(int year, int month, int day);
// The calendar date of a whole day number.
CivilDate DecodeDate(std::int64_t dayNumber);
// A broken-down time for strftime: date of `dayNumber`, time from `seconds`;
// any day number, also one beyond the calendar's ends.
std::tm TmOf(std::int64_t dayNumber, int secondsOfDay = 0);

}  // namespace hostlore
