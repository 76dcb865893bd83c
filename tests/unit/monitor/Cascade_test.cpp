// Placement of new caller windows and the list they are kept in.
#include "monitor/Cascade.h"

#include <gtest/gtest.h>

#include <vector>

#include "monitor/CallerWindows.h"

namespace telvor {
namespace {

constexpr int kCaption = 18;

TEST(Cascade, ThreeWindowsStepDownAndRight) {
    std::vector<int> tops;
    std::vector<WindowPosition> placed;
    for (int i = 0; i < 3; ++i) {
        placed.push_back(CascadeCallerWindow(tops, kCallerWindowPosition, kCaption));
        tops.push_back(placed.back().top);
    }
    EXPECT_EQ(placed, (std::vector<WindowPosition>{{189, 174}, {207, 192}, {225, 210}}));
}

TEST(Cascade, OnlyTheTopOfListedWindowsCounts) {
    // The first window was moved down by the user: its former row is free again.
    EXPECT_EQ(CascadeCallerWindow(std::vector{300, 192}, kCallerWindowPosition, kCaption),
              (WindowPosition{189, 174}));
    // A window moved sideways keeps its top and still blocks; the comparison restarts from
    // the first listed window after each move.
    EXPECT_EQ(CascadeCallerWindow(std::vector{192, 174}, kCallerWindowPosition, kCaption),
              (WindowPosition{225, 210}));
    // A failed metric (0) must not loop for ever.
    EXPECT_EQ(CascadeCallerWindow(std::vector{174}, kCallerWindowPosition, 0),
              kCallerWindowPosition);
}

TEST(CallerWindowList, KeyedBySignedDecimalPlci) {
    CallerWindows list;
    list.Append(-2, 10);
    list.Append(7, 11);
    list.Append(7, 12);
    EXPECT_EQ(list.Entries()[0].key, "-2");
    EXPECT_EQ(list.TakeByPlci(7), CallerWindowId{11});  // the first of equal keys
    EXPECT_FALSE(list.TakeByPlci(8).has_value());
    EXPECT_TRUE(list.RemoveWindow(10));
    EXPECT_FALSE(list.RemoveWindow(10));
    EXPECT_TRUE(list.Contains(12));
    EXPECT_EQ(list.Size(), 1u);
}

}  // namespace
}  // namespace telvor
