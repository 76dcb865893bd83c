// The entry dialog's town lookup, notification box, browse folder and program column.
#include "ui/EntryRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace telvor {
namespace {

const std::vector<std::string> kLines = {
    "no tab here",  "\tnothing before the tab",          "N71\tfirst wins",      "N711\tStuttgart",
    "n89\tMünchen", "I49711\tStuttgart (international)", "I\tany international",
};

TEST(EntryTown, KeysFollowThePrefixes) {
    EXPECT_EQ(EntryTownKey("0711", "0", "00"), "N711");
    EXPECT_EQ(EntryTownKey("0049711", "0", "00"), "I49711");
    EXPECT_EQ(EntryTownKey("1234", "0", "00"), "");      // no prefix: no lookup
    EXPECT_EQ(EntryTownKey("0711", "0", ""), "I0711");   // no international prefix
    EXPECT_EQ(EntryTownKey("1234", "", "00"), "N1234");  // no national prefix
    EXPECT_EQ(EntryTownKey("", "0", "00"), "");
    EXPECT_EQ(EntryTownKey("00", "0", "00"), "I");
    EXPECT_EQ(EntryTownKey("0711-12 34", "0", "00"), "N711-12 34");  // as typed
}

TEST(EntryTown, FirstLineWhoseUpperCasedCodeBeginsTheKeyWins) {
    EXPECT_EQ(EntryTownText("N711", kLines), "first wins");
    EXPECT_EQ(EntryTownText("N892", kLines), "München");
    EXPECT_EQ(EntryTownText("I49711", kLines), "Stuttgart (international)");
    EXPECT_EQ(EntryTownText("I1", kLines), "any international");
    EXPECT_EQ(EntryTownText("N7", kLines), "");  // shorter than every code
    EXPECT_EQ(EntryTownText("", kLines), "");
    EXPECT_EQ(EntryTownText("N711", {}), "");
    EXPECT_EQ(EntryTownText("n711", kLines), "");  // the key is not upper-cased
}

TEST(EntryDmailBox, OnlyMarkedModeLetsTheUserChoose) {
    for (bool flag : {false, true}) {
        EXPECT_FALSE(DmailBoxFor(0, flag).enabled);
        EXPECT_TRUE(DmailBoxFor(0, flag).checked);
        EXPECT_TRUE(DmailBoxFor(1, flag).checked);
        EXPECT_TRUE(DmailBoxFor(2, flag).enabled);
        EXPECT_EQ(DmailBoxFor(2, flag).checked, flag);
        EXPECT_FALSE(DmailBoxFor(3, flag).enabled);
        EXPECT_FALSE(DmailBoxFor(3, flag).checked);
        EXPECT_FALSE(DmailBoxFor(-1, flag).enabled);  // no button selected
    }
}

TEST(EntryBrowse, FolderUpToTheLastSeparator) {
    EXPECT_EQ(BrowseFolder("c:\\Programme\\x.exe"), "c:\\Programme\\");
    EXPECT_EQ(BrowseFolder("d:x.exe"), "d:");
    EXPECT_EQ(BrowseFolder("x.exe"), "");
    EXPECT_EQ(BrowseFolder(""), "");
}

TEST(EntryProgramColumn, BlankFieldsGiveAnEmptyColumn) {
    EXPECT_EQ(ProgramColumnFromFields("  ", " "), "");
    EXPECT_EQ(ProgramColumnFromFields("c:\\a \"b\".exe", "-x "), "\"c:\\a b.exe\" -x ");
    EXPECT_EQ(ProgramColumnFromFields(" p ", ""), "\" p \" ");
    EXPECT_EQ(ProgramColumnFromFields("", "-q"), "\"\" -q");
}

}  // namespace
}  // namespace telvor
