#pragma once
// The local clock with the user's locale formats: the date and time every call is stamped
// with, taken once so that all its texts show the same instant.
#include <windows.h>

#include <string>

#include "monitor/Clock.h"

namespace telvor {

class WinClock : public Clock {
  public:
    ClockReading Now() override;
};

// The reading of a given local time (days since 30 December 1899 with the time of day as
// fraction, the locale's short date, its short time without seconds).
ClockReading ClockReadingOf(const SYSTEMTIME& local);

}  // namespace telvor
