#pragma once
// The local clock and the locale's date and time formats, injected so that the call handling
// is deterministic under test. Windows: GetLocalTime with GetDateFormatA/GetTimeFormatA.
#include <string>

namespace telvor {

struct ClockReading {
    double dayCount = 0;    // days since 30 December 1899, fraction = time of day
    std::string shortDate;  // the locale's short date ("07.12.26")
    std::string shortTime;  // hours and minutes only, in the locale's short time format ("14:35")
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual ClockReading Now() = 0;
};

}  // namespace telvor
