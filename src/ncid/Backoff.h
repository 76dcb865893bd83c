#pragma once
// How long the client waits before it connects again: 1 s after the first failure, twice as
// long after each further one, never more than a minute; back to 1 s once a connection has
// gone through its start-up. A server that is down costs one attempt a minute, a server
// that restarts is found again within seconds.
#include <chrono>

namespace telvor {

class NcidBackoff {
  public:
    using Duration = std::chrono::milliseconds;
    static constexpr Duration kFirst = std::chrono::seconds(1);
    static constexpr Duration kMost = std::chrono::seconds(60);

    // The wait before the next attempt; each call doubles the one after it.
    Duration Next() {
        const Duration delay = next_;
        next_ = next_ * 2 > kMost ? kMost : next_ * 2;
        return delay;
    }
    void Reset() { next_ = kFirst; }

  private:
    Duration next_ = kFirst;
};

}  // namespace telvor
