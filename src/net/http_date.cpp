#include "net/http_date.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <ctime>

#include "platform/date_time.h"
#include "platform/integer_text.h"
#include "platform/text_trim.h"

namespace hostlore {

namespace {

constexpr std::array<std::string_view, 7> kWeekDays = {"SUN", "MON", "TUE", "WED",
                                                       "THU", "FRI", "SAT"};
constexpr std::array<std::string_view, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (auto& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

// Takes the text up to the first blank out of `text`, with that blank.
std::string TakeWord(std::string& text) {
    const auto blank = text.find(' ');
    std::string word = text.substr(0, blank);
    text.erase(0, blank == std::string::npos ? text.size() : blank + 1);
    return word;
}

void TrimLeft(std::string& text) {
    text = std::string(TrimLeftControls(text));
}

// Takes the text before `separator` out of `text`; all of it when there is none.
std::string TakeUpTo(std::string& text, char separator) {
    const auto at = text.find(separator);
    std::string part = text.substr(0, at);
    text.erase(0, at == std::string::npos ? text.size() : at + 1);
    return part;
}

}  // namespace

double ParseInternetDate(std::string& text) {
    text = std::string(TrimControls(text));
    if (text.empty()) {
        return 0;
    }
    const std::string start = Upper(text.substr(0, 3));
    for (const auto day : kWeekDays) {
        if (start == day) {
            TakeWord(text);
            break;
        }
    }
    const int day = ParseDecimalInteger(TakeWord(text)).value_or(1);
    TrimLeft(text);
    const std::string monthWord = Upper(TakeWord(text));
    int month = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (monthWord == kMonths[i]) {
            month = static_cast<int>(i) + 1;
        }
    }
    TrimLeft(text);
    const auto yearNumber =
        static_cast<std::uint16_t>(ParseDecimalInteger(TakeWord(text)).value_or(1900));
    int year = yearNumber;
    if (year < 80) {
        year += 2000;
    } else if (year < 100) {
        year += 1900;
    }
    const auto date = EncodeDate(year, month, day);
    if (!date) {
        return 0;
    }
    double value = *date;
    TrimLeft(text);
    if (text.find(':') != std::string::npos) {
        std::string time = TakeWord(text);
        const int hour = ParseDecimalInteger(TakeUpTo(time, ':')).value_or(0);
        const int minute = ParseDecimalInteger(TakeUpTo(time, ':')).value_or(0);
        const int second = ParseDecimalInteger(time).value_or(0);
        if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60) {
            return 0;
        }
        value += (hour * 3600 + minute * 60 + second) / 86400.0;
    }
    TrimLeft(text);
    return value;
}

double ZoneOffsetFromText(std::string_view text) {
    text = TrimControls(text).substr(0, 5);
    if (text.empty() || (text.front() != '+' && text.front() != '-')) {
        return 0;
    }
    const auto part = [text](std::size_t at) { return text.substr(std::min(at, text.size()), 2); };
    const auto hours = ParseDecimalInteger(part(1));
    const auto minutes = ParseDecimalInteger(part(3));
    if (!hours || !minutes || *hours < 0 || *hours >= 24 || *minutes < 0 || *minutes >= 60) {
        return 0;
    }
    const double offset = *hours / 24.0 + *minutes / 1440.0;
    return text.front() == '-' ? -offset : offset;
}

namespace {

// The header's date-time in UTC, or none for a header that is no date.
std::optional<double> UtcDateTime(std::string_view text) {
    std::string rest(text);
    const double value = ParseInternetDate(rest);
    if (value == 0) {
        return std::nullopt;
    }
    return value - (rest.size() >= 5 ? ZoneOffsetFromText(rest) : 0);
}

std::int64_t SecondsOf(double utc) {
    return static_cast<std::int64_t>(std::floor((utc - kUnixEpochDay) * 86400 + 0.5));
}

}  // namespace

std::optional<std::int64_t> InternetDateSeconds(std::string_view text) {
    const auto utc = UtcDateTime(text);
    return utc ? std::optional(SecondsOf(*utc)) : std::nullopt;
}

double InternetDateToLocal(std::string_view text) {
    const auto parsed = UtcDateTime(text);
    if (!parsed) {
        return 0;
    }
    const double utc = *parsed;
    // Near midnight, only the offset of that very instant gives the right day.
    const auto instant = static_cast<std::time_t>(SecondsOf(utc));
    std::tm local{};
    ::tzset();
    const double offset = ::localtime_r(&instant, &local) != nullptr
                              ? static_cast<double>(local.tm_gmtoff) / 86400.0
                              : 0;
    const double shifted = utc + offset;
    return IsWithinCalendar(shifted) ? shifted : 0;
}

}  // namespace hostlore
