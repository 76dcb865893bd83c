#pragma once
// The call events of the line in the order they arrived, run one at a time.
//
// The CAPI hand-over is a sent message, so it also runs inside any cross-thread SendMessage
// of the start-up (adding the icon is one). A call handled then would meet unread settings and
// no call list: events wait here until the program says it is ready, and then run in their
// order. An event that arrives while one runs (from a new registration after a
// re-initialisation, or a message pumped by a dmail wait) runs when that one is done, so the
// handlers never run nested.
#include <cstdint>
#include <deque>
#include <functional>

#include "monitor/CallPipeline.h"

namespace telvor {

struct CallEvent {
    bool connect = true;
    IncomingCall call;         // connect: the whole event; disconnect: call.plci
    std::uint16_t reason = 0;  // disconnect only
};

class CallEventQueue {
  public:
    using Runner = std::function<void(const CallEvent&)>;
    explicit CallEventQueue(Runner run) : run_(std::move(run)) {}

    // Queues the event and runs what may run now.
    void Push(CallEvent event);
    // From now on events run; runs those that waited.
    void SetReady();
    bool Ready() const { return ready_; }
    // No event runs any more (the program is ending).
    void Stop() { stopped_ = true; }
    std::size_t Waiting() const { return events_.size(); }

  private:
    void RunWaiting();

    Runner run_;
    std::deque<CallEvent> events_;
    bool ready_ = false;
    bool running_ = false;
    bool stopped_ = false;
};

}  // namespace telvor
