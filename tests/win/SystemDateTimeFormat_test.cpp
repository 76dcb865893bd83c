// Legacy call times are read in the format the system writes them in, whatever the locale.
#include "store/win/SystemDateTimeFormat.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace telvor {
namespace {

TEST(SystemDateTimeFormat, ReadsWhatTheSystemWrites) {
    SYSTEMTIME t{};
    t.wYear = 1999;
    t.wMonth = 12;
    t.wDay = 24;
    t.wHour = 18;
    t.wMinute = 30;
    t.wSecond = 15;
    char date[64] = {};
    char time[64] = {};
    ASSERT_GT(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, sizeof date),
              0);
    ASSERT_GT(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, time, sizeof time), 0);
    const auto parsed = SystemDateTimeParser()(std::string(date) + " " + time);
    ASSERT_TRUE(parsed.has_value()) << date << " " << time;
    EXPECT_DOUBLE_EQ(*parsed, EncodeDateTime(1999, 12, 24, 18, 30, 15)) << date << " " << time;
    EXPECT_FALSE(SystemDateTimeParser()("kein Datum 18:30").has_value());
}

}  // namespace
}  // namespace telvor
