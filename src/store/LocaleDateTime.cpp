#include "store/LocaleDateTime.h"

#include <cctype>
#include <vector>

namespace telvor {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

// Parts of `text` between occurrences of `separator`; an empty separator splits nothing.
std::vector<std::string_view> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> parts;
    if (separator.empty()) {
        parts.push_back(text);
        return parts;
    }
    for (;;) {
        const std::size_t cut = text.find(separator);
        parts.push_back(Trim(text.substr(0, cut)));
        if (cut == std::string_view::npos) break;
        text.remove_prefix(cut + separator.size());
    }
    return parts;
}

// One to four decimal digits, nothing else.
std::optional<int> Number(std::string_view text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (suffix.empty() || suffix.size() > text.size()) return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(tail[i])) !=
            std::toupper(static_cast<unsigned char>(suffix[i])))
            return false;
    return true;
}

bool IsLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1 January 1970 of a proleptic Gregorian date.
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Date {
    int year, month, day;
};

std::optional<Date> ParseDate(std::string_view text, const DateTimeFormat& format) {
    const auto parts = Split(text, format.dateSeparator);
    if (parts.size() != 3) return std::nullopt;
    const auto a = Number(parts[0]), b = Number(parts[1]), c = Number(parts[2]);
    if (!a || !b || !c) return std::nullopt;
    Date date{};
    std::string_view yearText;
    switch (format.order) {
        case DateTimeFormat::Order::DayMonthYear:
            date = {*c, *b, *a};
            yearText = parts[2];
            break;
        case DateTimeFormat::Order::MonthDayYear:
            date = {*c, *a, *b};
            yearText = parts[2];
            break;
        case DateTimeFormat::Order::YearMonthDay:
            date = {*a, *b, *c};
            yearText = parts[0];
            break;
    }
    if (yearText.size() <= 2) date.year += date.year < 30 ? 2000 : 1900;
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

// Seconds since midnight.
std::optional<int> ParseTime(std::string_view text, const DateTimeFormat& format) {
    int pm = -1;  // -1: 24-hour time; 0: before noon; 1: after noon
    const std::string_view designators[] = {format.amDesignator, "AM", format.pmDesignator, "PM"};
    for (int i = 0; i < 4 && pm < 0; ++i) {
        if (EndsWithNoCase(text, designators[i])) {
            text = Trim(text.substr(0, text.size() - designators[i].size()));
            pm = i < 2 ? 0 : 1;
        }
    }
    const auto parts = Split(text, format.timeSeparator);
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    const auto h = Number(parts[0]), m = Number(parts[1]);
    const auto s = parts.size() == 3 ? Number(parts[2]) : std::optional<int>(0);
    if (!h || !m || !s || *m > 59 || *s > 59) return std::nullopt;
    int hour = *h;
    if (pm >= 0) {
        if (hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (pm == 1 ? 12 : 0);
    } else if (hour > 23) {
        return std::nullopt;
    }
    return hour * 3600 + *m * 60 + *s;
}

}  // namespace

DateTimeFormat DateTimeFormatFromPattern(std::string_view pattern, std::string_view timeSeparator) {
    DateTimeFormat format;
    if (!timeSeparator.empty()) format.timeSeparator = std::string(timeSeparator);
    std::string order;  // the field letters in pattern order: "dMy"
    std::string separator;
    bool inField = false;
    bool inQuote = false;
    for (char c : pattern) {
        if (c == '\'') {
            inQuote = !inQuote;
            continue;
        }
        const bool field = !inQuote && (c == 'd' || c == 'M' || c == 'y');
        if (field) {
            if (!inField && order.find(c) == std::string::npos) order.push_back(c);
        } else if (order.size() == 1) {
            separator.push_back(c);  // what stands between the first and the second field
        }
        inField = field;
    }
    if (order.size() != 3) return format;
    if (order.front() == 'M')
        format.order = DateTimeFormat::Order::MonthDayYear;
    else if (order.front() == 'y')
        format.order = DateTimeFormat::Order::YearMonthDay;
    else
        format.order = DateTimeFormat::Order::DayMonthYear;
    if (!separator.empty()) format.dateSeparator = separator;
    return format;
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    const long long days = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

std::optional<double> ParseDateTime(std::string_view text, const DateTimeFormat& format) {
    text = Trim(text);
    // The blank between date and time need not be the first one: some systems put a blank
    // into the date separator ("d. M. yyyy"). It is the first blank before which a whole date
    // stands and after which a time.
    for (std::size_t blank = text.find(' '); blank != std::string_view::npos;
         blank = text.find(' ', blank + 1)) {
        const auto date = ParseDate(text.substr(0, blank), format);
        if (!date) continue;
        const auto seconds = ParseTime(Trim(text.substr(blank + 1)), format);
        if (!seconds) continue;
        return EncodeDateTime(date->year, date->month, date->day, 0, 0, 0) + *seconds / 86400.0;
    }
    return std::nullopt;
}

}  // namespace telvor
