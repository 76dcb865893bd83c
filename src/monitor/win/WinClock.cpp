#include "monitor/win/WinClock.h"

namespace telvor {

namespace {

// Days from 1 January of year 0 of the proleptic Gregorian calendar (civil-date arithmetic),
// so that a difference of two dates is their distance in days.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe);
}

double DayCountOf(const SYSTEMTIME& t) {
    const long long days = DaysFromCivil(t.wYear, t.wMonth, t.wDay) - DaysFromCivil(1899, 12, 30);
    const double ms = ((t.wHour * 60.0 + t.wMinute) * 60.0 + t.wSecond) * 1000.0 + t.wMilliseconds;
    return static_cast<double>(days) + ms / 86400000.0;
}

template <class Format>
std::string Formatted(Format format) {
    char buffer[128] = {};
    const int written = format(buffer, static_cast<int>(sizeof buffer));
    return written > 0 ? std::string(buffer) : std::string();
}

}  // namespace

ClockReading ClockReadingOf(const SYSTEMTIME& local) {
    ClockReading reading;
    reading.dayCount = DayCountOf(local);
    reading.shortDate = Formatted([&](char* out, int size) {
        return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, out, size);
    });
    reading.shortTime = Formatted([&](char* out, int size) {
        return GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, out, size);
    });
    return reading;
}

ClockReading WinClock::Now() {
    SYSTEMTIME local = {};
    GetLocalTime(&local);
    return ClockReadingOf(local);
}

}  // namespace telvor
