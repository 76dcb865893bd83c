// The date and time texts of legacy calls, read in the system's short date and time format.
// Any text that reads as a date and time must hold exactly its digits in the format's order,
// and any valid date and time written in the format must read back as itself.
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Harnesses.h"
#include "store/LocaleDateTime.h"

namespace telvor::fuzz {
namespace {

struct Fields {
    int year, month, day, hour, minute, second;
    bool operator==(const Fields&) const = default;
};

// Days since 30 December 1899 back to the calendar (proleptic Gregorian).
Fields Decode(double value) {
    const double whole = std::floor(value);
    const long long seconds = std::llround((value - whole) * 86400.0);
    long long z = static_cast<long long>(whole) - 25569 + 719468;  // days from 1 March 0000
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2));
    return {year,
            month,
            day,
            static_cast<int>(seconds / 3600),
            static_cast<int>(seconds / 60 % 60),
            static_cast<int>(seconds % 60)};
}

int DaysIn(int year, int month) {
    if (month != 2) return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    if (tail.empty() || tail.size() > text.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char a = text[text.size() - tail.size() + i];
        char b = tail[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A format the system can have: separators of punctuation and blanks, designators without
// digits. Only for such a format is a written date unambiguous.
bool Writable(const DateTimeFormat& f) {
    for (const std::string* s : {&f.dateSeparator, &f.timeSeparator})
        for (char c : *s)
            if (IsDigit(c) || IsLetter(c)) return false;
    for (const std::string* s : {&f.amDesignator, &f.pmDesignator})
        for (char c : *s)
            if (IsDigit(c) || static_cast<unsigned char>(c) <= ' ') return false;
    return !f.dateSeparator.empty() && !f.timeSeparator.empty();
}

// The fields as the format writes them; a 2-digit year when `shortYear` and it lies in
// 1930 to 2029, a 12-hour time with a designator when `twelve`.
std::string Write(const Fields& v, const DateTimeFormat& f, bool shortYear, bool twelve,
                  bool seconds, const std::string& gap) {
    char year[8];
    const bool two = shortYear && v.year >= 1930 && v.year <= 2029;
    std::snprintf(year, sizeof year, two ? "%02d" : "%04d", two ? v.year % 100 : v.year);
    const std::string d = std::to_string(v.day), m = std::to_string(v.month);
    const std::string& s = f.dateSeparator;
    std::string text;
    switch (f.order) {
        case DateTimeFormat::Order::DayMonthYear:
            text = d + s + m + s + year;
            break;
        case DateTimeFormat::Order::MonthDayYear:
            text = m + s + d + s + year;
            break;
        case DateTimeFormat::Order::YearMonthDay:
            text = year + s + m + s + d;
            break;
    }
    const int hour = twelve ? (v.hour % 12 == 0 ? 12 : v.hour % 12) : v.hour;
    char minute[4], second[4];
    std::snprintf(minute, sizeof minute, "%02d", v.minute);
    std::snprintf(second, sizeof second, "%02d", v.second);
    text += gap + std::to_string(hour) + f.timeSeparator + minute;
    if (seconds) text += f.timeSeparator + std::string(second);
    if (twelve) {
        const std::string& designator = v.hour < 12 ? f.amDesignator : f.pmDesignator;
        text += " " + (designator.empty() ? std::string(v.hour < 12 ? "AM" : "PM") : designator);
    }
    return text;
}

// What a text that was read must have said: its digit groups are day, month and year in the
// format's order, then hour, minute and perhaps second.
void CheckDigits(std::string_view text, const DateTimeFormat& f, const Fields& got) {
    std::vector<std::string> groups;
    bool inGroup = false;
    for (char c : text) {
        if (IsDigit(c)) {
            if (!inGroup) groups.emplace_back();
            groups.back().push_back(c);
        }
        inGroup = IsDigit(c);
    }
    Check(groups.size() == 5 || groups.size() == 6, "digit groups of a date and time");
    const int a = std::stoi(groups[0]), b = std::stoi(groups[1]), c = std::stoi(groups[2]);
    Fields said{};
    std::string_view yearText;
    switch (f.order) {
        case DateTimeFormat::Order::DayMonthYear:
            said = {c, b, a, 0, 0, 0};
            yearText = groups[2];
            break;
        case DateTimeFormat::Order::MonthDayYear:
            said = {c, a, b, 0, 0, 0};
            yearText = groups[2];
            break;
        case DateTimeFormat::Order::YearMonthDay:
            said = {a, b, c, 0, 0, 0};
            yearText = groups[0];
            break;
    }
    if (yearText.size() <= 2) said.year += said.year < 30 ? 2000 : 1900;
    said.hour = std::stoi(groups[3]);
    said.minute = std::stoi(groups[4]);
    said.second = groups.size() == 6 ? std::stoi(groups[5]) : 0;
    std::string_view trimmed = text;
    while (!trimmed.empty() && static_cast<unsigned char>(trimmed.back()) <= ' ')
        trimmed.remove_suffix(1);
    const bool am = EndsWithNoCase(trimmed, f.amDesignator) || EndsWithNoCase(trimmed, "AM");
    const bool pm =
        !am && (EndsWithNoCase(trimmed, f.pmDesignator) || EndsWithNoCase(trimmed, "PM"));
    if (am || pm) {
        Check(said.hour >= 1 && said.hour <= 12, "12-hour time out of range");
        said.hour = said.hour % 12 + (pm ? 12 : 0);
    }
    Check(got == said, "read another date and time than the text says");
}

DateTimeFormat FormatOf(Input& data) {
    const std::uint8_t choice = data.empty() ? 0 : data[0] % 4;
    data = data.subspan(data.empty() ? 0 : 1);
    if (choice == 0) return DateTimeFormatFromPattern("dd.MM.yyyy", ":");
    if (choice == 1) {
        DateTimeFormat us = DateTimeFormatFromPattern("M/d/yyyy", ":");
        us.amDesignator = "vorm.";
        us.pmDesignator = "nachm.";
        return us;
    }
    if (choice == 2) return DateTimeFormatFromPattern("yyyy'-'MM'-'dd", ".");
    // [1 byte n][n bytes short-date pattern][1 byte k][k bytes time separator]
    auto take = [&data](std::size_t limit) {
        const std::size_t n =
            data.empty() ? 0 : std::min<std::size_t>(data[0] % limit, data.size() - 1);
        std::string text(reinterpret_cast<const char*>(data.data()) + (data.empty() ? 0 : 1), n);
        data = data.subspan(data.empty() ? 0 : 1 + n);
        return text;
    };
    const std::string pattern = take(16);
    const std::string timeSeparator = take(4);
    return DateTimeFormatFromPattern(pattern, timeSeparator);
}

}  // namespace

// [format octet][format of the system when the octet says so][text]
void LegacyDateTime(Input data) {
    const DateTimeFormat format = FormatOf(data);
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    const double earliest = EncodeDateTime(1, 1, 1, 0, 0, 0);
    const double latest = EncodeDateTime(9999, 12, 31, 23, 59, 59);
    const bool writable = Writable(format);

    if (const std::optional<double> value = ParseDateTime(text, format)) {
        Check(std::isfinite(*value) && *value >= earliest && *value <= latest,
              "date and time out of range");
        const Fields got = Decode(*value);
        if (writable) {
            CheckDigits(text, format, got);
            const auto again = ParseDateTime(Write(got, format, false, false, true, " "), format);
            Check(again && Decode(*again) == got, "written date and time not read back");
        }
    }

    // A valid date and time made of the text's first octets, written in the format in one of
    // the ways the system may have written it, reads back as itself.
    if (!writable) return;
    std::uint8_t b[8] = {};
    for (std::size_t i = 0; i < sizeof b && i < data.size(); ++i) b[i] = data[i];
    Fields v{};
    v.year = 1 + (b[0] << 8 | b[1]) % 9999;
    v.month = 1 + b[2] % 12;
    v.day = 1 + b[3] % DaysIn(v.year, v.month);
    v.hour = b[4] % 24;
    v.minute = b[5] % 60;
    v.second = b[7] & 4 ? b[6] % 60 : 0;
    const std::string written =
        Write(v, format, b[7] & 1, b[7] & 2, b[7] & 4, b[7] & 8 ? "  " : " ");
    const auto read = ParseDateTime(written, format);
    Check(read.has_value(), "written date and time not read");
    Check(Decode(*read) == v, "written date and time read as another");
}

}  // namespace telvor::fuzz
