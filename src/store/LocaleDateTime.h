#pragma once
// Date and time texts in the system's short date format and its time format, as earlier
// versions stored the calls. Which order and separators the system uses is asked of the
// platform (store/win/SystemDateTimeFormat); reading the text against them is portable.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace telvor {

struct DateTimeFormat {
    enum class Order { DayMonthYear, MonthDayYear, YearMonthDay };
    Order order = Order::DayMonthYear;
    std::string dateSeparator = ".";
    std::string timeSeparator = ":";
    // Texts that may follow a 12-hour time ("AM"/"PM" are always accepted).
    std::string amDesignator;
    std::string pmDesignator;
};

// The order of day, month and year and the date separator of a short-date pattern such as
// "dd.MM.yyyy", "M/d/yy" or "yyyy-MM-dd". A pattern without fields gives the German default.
DateTimeFormat DateTimeFormatFromPattern(std::string_view shortDatePattern,
                                         std::string_view timeSeparator);

// Days since 30 December 1899 of a calendar date and time of day (no range checks).
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second);

// "24.12.1999 18:30:15" (date, blanks, time with or without seconds) as days since
// 30 December 1899; nothing when the text is not a valid date followed by a valid time.
// Years of one or two digits lie in 1930 to 2029.
std::optional<double> ParseDateTime(std::string_view text, const DateTimeFormat& format);

// The port migration reads legacy date and time texts through.
using DateTimeParser = std::function<std::optional<double>(std::string_view text)>;

}  // namespace telvor
