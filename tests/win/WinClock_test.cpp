// The clock every call is stamped with, in the German locale the test cases run in.
#include "monitor/win/WinClock.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>

namespace telvor {
namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second = 0) {
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

TEST(WinClock, GermanShortDateAndTimeWithoutSeconds) {
    const ClockReading r = ClockReadingOf(At(2026, 12, 8, 0, 7, 59));
    EXPECT_EQ(r.shortDate, "8.12.2026");
    EXPECT_EQ(r.shortTime, "00:07") << "seconds are dropped, not rounded";
    const ClockReading afternoon = ClockReadingOf(At(2026, 1, 31, 14, 35));
    EXPECT_EQ(afternoon.shortDate, "31.1.2026");
    EXPECT_EQ(afternoon.shortTime, "14:35");
}

TEST(WinClock, DayCountSince30December1899) {
    EXPECT_DOUBLE_EQ(ClockReadingOf(At(1899, 12, 30, 0, 0)).dayCount, 0.0);
    EXPECT_DOUBLE_EQ(ClockReadingOf(At(1900, 3, 1, 0, 0)).dayCount, 61.0);
    EXPECT_DOUBLE_EQ(ClockReadingOf(At(2000, 2, 29, 12, 0)).dayCount, 36585.5);
    const double withTime = ClockReadingOf(At(2026, 12, 8, 0, 7)).dayCount;
    EXPECT_NEAR(withTime, 46364.0 + 7.0 / 1440.0, 1e-9);
}

TEST(WinClock, NowIsOneInstantInAllThreeForms) {
    SYSTEMTIME before = {};
    GetLocalTime(&before);
    WinClock clock;
    const ClockReading now = clock.Now();
    const double expected = ClockReadingOf(before).dayCount;
    EXPECT_GE(now.dayCount, expected);
    EXPECT_LT(now.dayCount - expected, 1.0 / 24);
    // The texts belong to the same reading as the day count.
    const double day = std::floor(now.dayCount);
    const double minutes = std::floor((now.dayCount - day) * 1440.0 + 1e-6);
    char time[8] = {};
    wsprintfA(time, "%02d:%02d", static_cast<int>(minutes) / 60, static_cast<int>(minutes) % 60);
    EXPECT_EQ(now.shortTime, time);
}

}  // namespace
}  // namespace telvor
