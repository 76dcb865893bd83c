#include "monitor/StartupRules.h"

#include <gtest/gtest.h>

using namespace telvor;

TEST(NoIconSwitch, SlashOrHyphenWithTheWordInAnyCase) {
    EXPECT_TRUE(HasNoIconSwitch({"-noicon"}));
    EXPECT_TRUE(HasNoIconSwitch({"/NoIcon"}));
    EXPECT_TRUE(HasNoIconSwitch({"other", "/NOICON", "x"}));
}

TEST(NoIconSwitch, OtherFormsDoNotCount) {
    EXPECT_FALSE(HasNoIconSwitch({}));
    EXPECT_FALSE(HasNoIconSwitch({"NOICON"}));
    EXPECT_FALSE(HasNoIconSwitch({"-n"}));
    EXPECT_FALSE(HasNoIconSwitch({"--noicon"}));
    EXPECT_FALSE(HasNoIconSwitch({"-"}));
    EXPECT_FALSE(HasNoIconSwitch({"-noicons"}));
}

TEST(Versions, OldWindowsAndTheNtRule) {
    EXPECT_TRUE(IsOldWindows({3, 1}));
    EXPECT_FALSE(IsOldWindows({4, 1}));
    EXPECT_FALSE(AllowsNetDde({10, 2}));
    EXPECT_TRUE(AllowsNetDde({4, 1}));
    // A refused share record matters only where forwarding runs.
    EXPECT_FALSE(ShowsShareRecordFailure(WindowsVersion{4, 2}));
    EXPECT_TRUE(ShowsShareRecordFailure(WindowsVersion{4, 1}));
    EXPECT_TRUE(ShowsShareRecordFailure(std::nullopt));
}
