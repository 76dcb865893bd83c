#include "monitor/CallEventQueue.h"

#include <utility>

namespace telvor {

void CallEventQueue::Push(CallEvent event) {
    events_.push_back(std::move(event));
    RunWaiting();
}

void CallEventQueue::SetReady() {
    ready_ = true;
    RunWaiting();
}

void CallEventQueue::RunWaiting() {
    if (!ready_ || running_ || stopped_) return;
    running_ = true;
    // The runner must not throw (the program guards each handler); should it, the flag is
    // reset so that later events are not stuck behind it.
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{running_};
    while (!events_.empty() && !stopped_) {
        const CallEvent event = std::move(events_.front());
        events_.pop_front();
        run_(event);
    }
}

}  // namespace telvor
