#pragma once
// TTimeObj: the moment a client last registered, on a monotonic clock. A monotonic reading
// keeps registrations alive across changes of the wall clock (daylight saving, time sync).
#include <chrono>

namespace telvor {

using MonotonicTime = std::chrono::milliseconds;

// The clock registrations are stamped with; injected so that expiry can be tested.
class MonotonicClock {
  public:
    virtual ~MonotonicClock() = default;
    virtual MonotonicTime Now() = 0;
};

// The process's steady clock.
class SteadyClock final : public MonotonicClock {
  public:
    MonotonicTime Now() override {
        return std::chrono::duration_cast<MonotonicTime>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};

class TTimeObj {
  public:
    explicit TTimeObj(MonotonicTime at) : at_(at) {}
    MonotonicTime At() const { return at_; }
    // True when this moment plus `lifetime` lies before `now`.
    bool ExpiredBy(MonotonicTime now, MonotonicTime lifetime) const { return at_ + lifetime < now; }

  private:
    MonotonicTime at_;
};

}  // namespace telvor
