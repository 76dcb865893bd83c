#include "monitor/CallEventQueue.h"

#include <gtest/gtest.h>

#include <vector>

namespace telvor {
namespace {

CallEvent Connect(std::int32_t plci) {
    CallEvent e;
    e.call.plci = plci;
    return e;
}

CallEvent Disconnect(std::int32_t plci) {
    CallEvent e{false, {}, 0x3490};
    e.call.plci = plci;
    return e;
}

TEST(CallEventQueue, EventsWaitUntilReadyThenRunInArrivalOrderNeverNested) {
    std::vector<std::int32_t> ran;
    CallEventQueue* self = nullptr;
    int depth = 0, deepest = 0;
    CallEventQueue queue([&](const CallEvent& e) {
        deepest = std::max(deepest, ++depth);
        ran.push_back(e.connect ? e.call.plci : -e.call.plci);
        // A re-initialisation delivers the next call while this one is handled.
        if (e.call.plci == 1 && e.connect) self->Push(Connect(3));
        --depth;
    });
    self = &queue;

    queue.Push(Connect(1));
    queue.Push(Disconnect(2));
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(queue.Waiting(), 2u);

    queue.SetReady();
    EXPECT_EQ(ran, (std::vector<std::int32_t>{1, -2, 3}));
    EXPECT_EQ(deepest, 1);

    queue.Stop();
    queue.Push(Connect(4));
    EXPECT_EQ(ran.size(), 3u);
}

}  // namespace
}  // namespace telvor
