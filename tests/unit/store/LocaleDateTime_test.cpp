// Legacy date and time texts in the system's short date and time format.
#include "store/LocaleDateTime.h"

#include <gtest/gtest.h>

namespace telvor {
namespace {

TEST(LocaleDateTime, DaysCountFromTheThirtiethOfDecember1899) {
    EXPECT_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0), 0.0);
    EXPECT_EQ(EncodeDateTime(1900, 1, 1, 0, 0, 0), 2.0);
    EXPECT_EQ(EncodeDateTime(1999, 12, 24, 0, 0, 0), 36518.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1999, 12, 24, 18, 0, 0), 36518.75);
}

TEST(LocaleDateTime, GermanShortDateAndTime) {
    const DateTimeFormat german = DateTimeFormatFromPattern("dd.MM.yyyy", ":");
    EXPECT_EQ(german.order, DateTimeFormat::Order::DayMonthYear);
    EXPECT_EQ(german.dateSeparator, ".");
    EXPECT_DOUBLE_EQ(*ParseDateTime("24.12.1999 18:30:15", german),
                     36518 + (18 * 3600 + 30 * 60 + 15) / 86400.0);
    // Without seconds, with one-digit fields, two-digit years and surrounding blanks.
    EXPECT_DOUBLE_EQ(*ParseDateTime(" 1.2.99  7:05 ", german), EncodeDateTime(1999, 2, 1, 7, 5, 0));
    EXPECT_DOUBLE_EQ(*ParseDateTime("29.02.00 00:00", german),
                     EncodeDateTime(2000, 2, 29, 0, 0, 0));
}

TEST(LocaleDateTime, TextsThatAreNoDateAndTime) {
    const DateTimeFormat german = DateTimeFormatFromPattern("dd.MM.yyyy", ":");
    for (const char* text :
         {"", "24.12.1999", "18:30:15", "24.12.1999 25:00", "31.11.1999 10:00", "29.02.1900 10:00",
          "24/12/1999 10:00", "24.12.1999 10:60", "x.12.1999 10:00", "24.12.1999 10:00:00:00",
          "12.24.1999 10:00", "24.12.1999 13:00 PM"})
        EXPECT_FALSE(ParseDateTime(text, german).has_value()) << text;
}

TEST(LocaleDateTime, OtherOrdersSeparatorsAndTwelveHourTimes) {
    DateTimeFormat us = DateTimeFormatFromPattern("M/d/yyyy", ":");
    us.pmDesignator = "nachm.";
    EXPECT_EQ(us.order, DateTimeFormat::Order::MonthDayYear);
    EXPECT_EQ(us.dateSeparator, "/");
    EXPECT_DOUBLE_EQ(*ParseDateTime("12/24/1999 6:30 PM", us),
                     EncodeDateTime(1999, 12, 24, 18, 30, 0));
    EXPECT_DOUBLE_EQ(*ParseDateTime("12/24/1999 12:10 am", us),
                     EncodeDateTime(1999, 12, 24, 0, 10, 0));
    EXPECT_DOUBLE_EQ(*ParseDateTime("12/24/1999 6:30 nachm.", us),
                     EncodeDateTime(1999, 12, 24, 18, 30, 0));

    const DateTimeFormat iso = DateTimeFormatFromPattern("yyyy'-'MM'-'dd", ".");
    EXPECT_EQ(iso.order, DateTimeFormat::Order::YearMonthDay);
    EXPECT_EQ(iso.dateSeparator, "-");
    EXPECT_DOUBLE_EQ(*ParseDateTime("1999-12-24 18.30", iso),
                     EncodeDateTime(1999, 12, 24, 18, 30, 0));

    // A blank inside the date separator is not the one between date and time.
    const DateTimeFormat czech = DateTimeFormatFromPattern("d. M. yyyy", ":");
    EXPECT_EQ(czech.dateSeparator, ". ");
    EXPECT_DOUBLE_EQ(*ParseDateTime("24. 12. 1999 18:30:15", czech),
                     EncodeDateTime(1999, 12, 24, 18, 30, 15));
    const DateTimeFormat blanks = DateTimeFormatFromPattern("dd MM yyyy", ":");
    EXPECT_DOUBLE_EQ(*ParseDateTime("24 12 1999  6:05", blanks),
                     EncodeDateTime(1999, 12, 24, 6, 5, 0));
    EXPECT_FALSE(ParseDateTime("24 12 1999", blanks).has_value());

    // A pattern without fields keeps the German default.
    EXPECT_EQ(DateTimeFormatFromPattern("", "").dateSeparator, ".");
}

}  // namespace
}  // namespace telvor
