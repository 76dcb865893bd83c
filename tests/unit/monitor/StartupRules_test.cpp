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

TEST(TrayTip, KeepsAtMost63Characters) {
    const std::string seventy(70, 'x');
    EXPECT_EQ(TrayTipText(seventy), std::string(63, 'x'));
    EXPECT_EQ(TrayTipText("Telvor"), "Telvor");
}

TEST(Versions, OldWindowsAndTheNtRule) {
    EXPECT_TRUE(IsOldWindows({3, 1}));
    EXPECT_FALSE(IsOldWindows({4, 1}));
    EXPECT_FALSE(AllowsNetDde({10, 2}));
    EXPECT_TRUE(AllowsNetDde({4, 1}));
}

TEST(DefaultLogFile, ReplacesOnlyTheFileExtension) {
    EXPECT_EQ(DefaultLogFile("C:\\Programme\\Telvor\\Telvor.exe"), "C:\\Programme\\Telvor\\Telvor.log");
    EXPECT_EQ(DefaultLogFile("C:\\my.dir\\Telvor"), "C:\\my.dir\\Telvor.log");
}
