#include "net/http_date.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <ctime>

#include "platform/date_time.h"
#include "platform/user_time_format.h"
#include "support/scoped_environment.h"

namespace hostlore {
namespace {

constexpr double kSecond = 1.0 / 86400;

double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return *EncodeDate(year, month, day) + (hour * 3600 + minute * 60 + second) * kSecond;
}

struct ParseCase {
    const char* header;
    double expected;
    const char* rest;
};

TEST(ParseInternetDate, ReadsTheHttpFormAndNothingElse) {
    const ParseCase cases[] = {
        {"Sun, 06 Nov 1994 08:49:37 GMT", At(1994, 11, 6, 8, 49, 37), "GMT"},
        {"06 Nov 1994 08:49:37 GMT", At(1994, 11, 6, 8, 49, 37), "GMT"},
        {"  Sun, 06 Nov 1994 08:49:37 +0200 \r", At(1994, 11, 6, 8, 49, 37), "+0200"},
        {"Sun, 06 Nov 94 08:49:37 GMT", At(1994, 11, 6, 8, 49, 37), "GMT"},
        {"Sat, 05 Nov 05 08:49:37 GMT", At(2005, 11, 5, 8, 49, 37), "GMT"},
        {"Sun, 06 Nov 1994", At(1994, 11, 6), ""},
        {"Sun, 06 Nov 1994 08:49", At(1994, 11, 6, 8, 49), ""},
        {"Sunday, 06 Nov 1994 08:49:37 GMT", At(1994, 11, 6, 8, 49, 37), "GMT"},
        {"sun, 06 nov 1994 08:49:37 gmt", At(1994, 11, 6, 8, 49, 37), "gmt"},
        {"06 Nov 0079", At(2079, 11, 6), ""},
        {"06 Nov 1999", At(1999, 11, 6), ""},
        {"Sun, 06 November 1994 08:49:37 GMT", 0, nullptr},
        {"Sunday, 06-Nov-94 08:49:37 GMT", 0, nullptr},
        {"Sun Nov  6 08:49:37 1994", 0, nullptr},
        {"Sun,  06 Nov 1994 08:49:37 GMT", 0, nullptr},
        {"Mon, 31 Apr 2000 10:00:00 GMT", 0, nullptr},
        {"Mon, 29 Feb 2001 10:00:00 GMT", 0, nullptr},
        {"Tue, 29 Feb 2000 10:00:00 GMT", At(2000, 2, 29, 10), "GMT"},
        {"Mon, 01 May 2000 25:00:00 GMT", 0, nullptr},
        {"Mon, 01 May 2000 10:60:00 GMT", 0, nullptr},
        {"", 0, ""},
        {"   ", 0, ""},
        {"Sun, $6 Nov 1994", At(1994, 11, 1), ""},
        {"Sun, 06 Nov $7CA", At(1900, 11, 6), ""},
        {"Sun, 06 Nov 1994 0x8:00:$10 GMT", At(1994, 11, 6), "GMT"},
    };
    for (const auto& c : cases) {
        std::string text = c.header;
        EXPECT_NEAR(ParseInternetDate(text), c.expected, 1e-9) << c.header;
        if (c.rest != nullptr) {
            EXPECT_EQ(text, c.rest) << c.header;
        }
    }
}

TEST(ZoneOffsetFromText, ReadsOnlyNumericOffsets) {
    const std::pair<const char*, double> cases[] = {{"+0200", 2.0 / 24},
                                                    {"-0130", -(1.0 / 24 + 30.0 / 1440)},
                                                    {"+0000", 0},
                                                    {"  -0500 ", -5.0 / 24},
                                                    {"+0200 (CEST)", 2.0 / 24},
                                                    {"+05:30", 0},
                                                    {"GMT+0200", 0},
                                                    {"GMT", 0},
                                                    {"EST", 0},
                                                    {"+2400", 0},
                                                    {"+0160", 0},
                                                    {"+", 0},
                                                    {"+$1$2", 0},
                                                    {"", 0}};
    for (const auto& [text, offset] : cases) {
        EXPECT_NEAR(ZoneOffsetFromText(text), offset, 1e-12) << text;
    }
}

TEST(InternetDateToLocal, ShiftsFromTheHeadersZoneToTheLocalOne) {
    struct Case {
        const char* tz;
        const char* header;
        double expected;
    };
    const Case cases[] = {
        {"EST5", "Sun, 06 Nov 1994 08:49:37 GMT", At(1994, 11, 6, 3, 49, 37)},
        {"UTC0", "Sun, 06 Nov 1994 08:49:37 +0200", At(1994, 11, 6, 6, 49, 37)},
        {"UTC0", "Sun, 06 Nov 1994 08:49:37 -0130", At(1994, 11, 6, 10, 19, 37)},
        {"UTC0", "Sun, 06 Nov 1994 08:49:37 +05:30", At(1994, 11, 6, 8, 49, 37)},
        {"JST-9", "Sun, 06 Nov 1994 20:00:00 GMT", At(1994, 11, 7, 5)},
        {"UTC0", "Sun Nov  6 08:49:37 1994", 0},
        {"EST5", "", 0},
        {"EST5", "yesterday", 0},
        // A date the shift takes out of the years 1 to 9999 is no date.
        {"UTC0", "Fri, 31 Dec 9999 23:59:59 -2359", 0},
        {"JST-9", "31 Dec 9999 20:00:00 GMT", 0},
        {"UTC0", "Fri, 31 Dec 9999 23:59:59 +0000", At(9999, 12, 31, 23, 59, 59)},
    };
    for (const auto& c : cases) {
        test::ScopedEnvironment zone("TZ", c.tz);
        EXPECT_NEAR(InternetDateToLocal(c.header), c.expected, 1e-9) << c.tz << " " << c.header;
    }
}

// A date late in the evening in UTC is the next day where daylight saving
// time is in force at that instant, whatever is in force today.
TEST(InternetDateToLocal, UsesTheOffsetInForceAtTheDatesOwnInstant) {
    struct Case {
        const char* tz;
        const char* header;
        double expected;
    };
    const char* north = "AAA-1BBB,M3.5.0,M10.5.0/3";
    const char* south = "CCC-10DDD,M10.1.0,M4.1.0/3";
    const Case cases[] = {
        {north, "Wed, 15 Jan 2025 22:30:00 GMT", At(2025, 1, 15, 23, 30)},
        {north, "Tue, 15 Jul 2025 22:30:00 GMT", At(2025, 7, 16, 0, 30)},
        {north, "Sun, 30 Mar 2025 00:30:00 GMT", At(2025, 3, 30, 1, 30)},
        {north, "Sun, 30 Mar 2025 01:30:00 GMT", At(2025, 3, 30, 3, 30)},
        {south, "Wed, 15 Jan 2025 13:30:00 GMT", At(2025, 1, 16, 0, 30)},
        {south, "Tue, 15 Jul 2025 13:30:00 GMT", At(2025, 7, 15, 23, 30)},
    };
    for (const auto& c : cases) {
        test::ScopedEnvironment zone("TZ", c.tz);
        EXPECT_NEAR(InternetDateToLocal(c.header), c.expected, 1e-9) << c.tz << " " << c.header;
    }
}

bool LocaleInstalled(const char* name) {
    locale_t locale = ::newlocale(LC_TIME_MASK, name, static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        return false;
    }
    ::freelocale(locale);
    return true;
}

// Whatever the local zone: the instant the header names.
TEST(InternetDateSeconds, TheHeadersInstantInUtc) {
    const test::ScopedEnvironment zone("TZ", "America/New_York");
    const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
        {"Sun, 06 Nov 1994 08:49:37 GMT", 784111777},
        {"Sun, 06 Nov 1994 09:49:37 +0100", 784111777},
        {"06 Nov 1994", 784080000},
        {"Sunday, 06-Nov-94 08:49:37 GMT", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, seconds] : cases) {
        EXPECT_EQ(InternetDateSeconds(text), seconds) << text;
    }
}

TEST(ShortDateText, WritesTheDateInTheUsersShortFormat) {
    struct Case {
        const char* locale;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {"en_US.UTF-8", 0, "12/30/1899"},
        {"en_US.UTF-8", 0.999, "12/30/1899"},
        {"en_US.UTF-8", -0.999, "12/30/1899"},
        {"en_US.UTF-8", -1.5, "12/29/1899"},
        {"en_US.UTF-8", At(1994, 11, 6, 23, 59, 59), "11/06/1994"},
        {"en_US.UTF-8", At(2000, 2, 29), "02/29/2000"},
        {"de_DE.UTF-8", 0, "30.12.1899"},
        {"de_DE.UTF-8", At(1994, 11, 6, 8, 49, 37), "06.11.1994"},
        {"C.UTF-8", 0, "12/30/99"},
        {"C.UTF-8", At(1994, 11, 6), "11/06/94"},
        {"C", At(2021, 3, 8), "03/08/21"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(LocaleInstalled(c.locale))
            << c.locale << " is not installed; ./dev.sh test generates it";
        test::ScopedEnvironment allOff("LC_ALL", "");
        test::ScopedEnvironment time("LC_TIME", c.locale);
        EXPECT_EQ(ShortDateText(c.value), c.text) << c.locale << " " << c.value;
    }
}

// Any value shows; one outside the years 1 to 9999 shows as no date.
TEST(ShortDateText, ShowsAValueOutsideTheCalendarAsNoDate) {
    test::ScopedEnvironment allOff("LC_ALL", "");
    test::ScopedEnvironment time("LC_TIME", "C");
    EXPECT_EQ(ShortDateText(At(9999, 12, 31, 23, 59, 59)), "12/31/99");
    EXPECT_EQ(ShortDateText(At(1, 1, 1)), "01/01/01");
    for (const double value : {At(9999, 12, 31) + 1, At(1, 1, 1) - 1, 1e300, -1e300, std::nan(""),
                               HUGE_VAL, -HUGE_VAL}) {
        EXPECT_EQ(ShortDateText(value), "12/30/99") << value;
    }
}

TEST(ShortDateText, RoundsToTheNearestMillisecondFirst) {
    test::ScopedEnvironment allOff("LC_ALL", "");
    test::ScopedEnvironment time("LC_TIME", "C");
    const double justBeforeMidnight = At(1994, 11, 7) - 0.0004 * kSecond;
    EXPECT_EQ(ShortDateText(justBeforeMidnight), "11/07/94");
}

}  // namespace
}  // namespace hostlore
