// The text encodings of integers and booleans, and the in-memory tree's registry-like rules.
#include <gtest/gtest.h>

#include <climits>

#include "store/MemorySettingsStore.h"

namespace telvor {
namespace {

class SettingsEncodingTest : public ::testing::Test {
  protected:
    long long ReadAs(std::string_view text, long long def = -7) {
        store.WriteString("Settings", "V", text);
        return store.ReadInteger("Settings", "V", def);
    }
    bool BoolAs(std::string_view text, bool def) {
        store.WriteString("Settings", "B", text);
        return store.ReadBool("Settings", "B", def);
    }
    MemorySettingsStore store;
};

TEST_F(SettingsEncodingTest, IntegersReadInDecimalAndBothHexForms) {
    EXPECT_EQ(ReadAs("60000"), 60000);
    EXPECT_EQ(ReadAs("-12"), -12);
    EXPECT_EQ(ReadAs("0"), 0);
    EXPECT_EQ(ReadAs("0x1F"), 31);
    EXPECT_EQ(ReadAs("0X1f"), 31);
    EXPECT_EQ(ReadAs("$1F"), 31);
    EXPECT_EQ(ReadAs("$ff"), 255);
    EXPECT_EQ(ReadAs("007"), 7);
    EXPECT_EQ(ReadAs("-9223372036854775808"), LLONG_MIN);
    EXPECT_EQ(ReadAs("9223372036854775807"), LLONG_MAX);
}

TEST_F(SettingsEncodingTest, TextThatIsNotAWholeNumberGivesTheDefault) {
    for (std::string_view text :
         {"abc", "", "0x", "$", "-", "--1", "+5", "-$1", " 5", "5 ", "12a", "0x1G", "0x-1", "$+1",
          "1.5", "9223372036854775808", "-9223372036854775809", "0x10000000000000000"})
        EXPECT_EQ(ReadAs(text), -7) << '"' << text << '"';
}

TEST_F(SettingsEncodingTest, MissingValueOrSectionGivesTheDefault) {
    EXPECT_EQ(store.ReadInteger("Settings", "Nothing", 42), 42);
    EXPECT_EQ(store.ReadInteger("Nowhere", "Nothing", -1), -1);
    EXPECT_TRUE(store.ReadBool("Nowhere", "Nothing", true));
    EXPECT_FALSE(store.ReadBool("Nowhere", "Nothing", false));
    EXPECT_EQ(store.ReadString("Nowhere", "Nothing", "def"), "def");
}

TEST_F(SettingsEncodingTest, BooleansAreIntegersWithNonZeroTrue) {
    EXPECT_TRUE(BoolAs("2", false));
    EXPECT_TRUE(BoolAs("-1", false));
    EXPECT_TRUE(BoolAs("$10", false));
    EXPECT_FALSE(BoolAs("0", true));
    EXPECT_FALSE(BoolAs("0x0", true));
    EXPECT_TRUE(BoolAs("yes", true));
    EXPECT_FALSE(BoolAs("yes", false));
    EXPECT_TRUE(BoolAs("", true));
}

TEST_F(SettingsEncodingTest, WritesDecimalAndZeroOne) {
    store.WriteInteger("Settings", "I", -3600000);
    store.WriteInteger("Settings", "Big", LLONG_MIN);
    store.WriteBool("Settings", "T", true);
    store.WriteBool("Settings", "F", false);
    EXPECT_EQ(store.ReadString("Settings", "I", ""), "-3600000");
    EXPECT_EQ(store.ReadInteger("Settings", "Big", 0), LLONG_MIN);
    EXPECT_EQ(store.ReadString("Settings", "T", ""), "1");
    EXPECT_EQ(store.ReadString("Settings", "F", ""), "0");
}

TEST(MemorySettingsStore, NamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
    MemorySettingsStore store;
    store.WriteString("Settings", "CloseTime", "1");
    store.WriteString("SETTINGS", "closetime", "2");
    store.WriteString("UmlautÄ", "Größe", "x");  // cp1252 letters fold as well
    EXPECT_EQ(store.ReadString("settings", "CLOSETIME", ""), "2");
    EXPECT_EQ(store.ReadSection("Settings"), std::vector<std::string>{"CloseTime"});
    EXPECT_EQ(store.ReadSubsections(""), (std::vector<std::string>{"Settings", "UmlautÄ"}));
    EXPECT_EQ(store.ReadString("umlautä", "GRÖßE", ""), "x");
    // Not every byte has a partner: the sharp s does not fold to "ss".
    EXPECT_FALSE(store.ValueExists("UmlautÄ", "GröSSE"));
}

TEST(MemorySettingsStore, EnumeratesInInsertionOrderAndSeparatesValuesFromSections) {
    MemorySettingsStore store;
    for (auto name : {"Zeta", "Alpha", "Mid"}) store.WriteString("S", name, name);
    store.WriteString("S\\Sub2", "X", "1");
    store.WriteString("S\\Sub1", "X", "1");
    store.WriteString("S", "Alpha", "again");  // rewriting keeps the position
    EXPECT_EQ(store.ReadSection("S"), (std::vector<std::string>{"Zeta", "Alpha", "Mid"}));
    EXPECT_EQ(store.ReadSubsections("S"), (std::vector<std::string>{"Sub2", "Sub1"}));
    EXPECT_TRUE(store.ReadSection("Missing").empty());
    EXPECT_TRUE(store.ReadSubsections("Missing").empty());
}

TEST(MemorySettingsStore, WriteCreatesEveryLevelOfTheSectionPath) {
    MemorySettingsStore store;
    store.WriteBool("MSNs\\00000003\\Show", "Audio", true);
    EXPECT_TRUE(store.SectionExists("MSNs"));
    EXPECT_TRUE(store.SectionExists("MSNs\\00000003"));
    EXPECT_TRUE(store.ValueExists("MSNs\\00000003\\Show", "Audio"));
    EXPECT_FALSE(store.ValueExists("MSNs\\00000003", "Audio"));
    EXPECT_FALSE(store.SectionExists("MSNs\\00000002"));
}

TEST(MemorySettingsStore, EraseSectionTakesEverythingBelowAndLeavesSiblings) {
    MemorySettingsStore store;
    store.WriteString("MSNs\\00000000", "Number", "1");
    store.WriteString("MSNs\\00000000\\Show", "Audio", "1");
    store.WriteString("MSNsX", "Keep", "1");
    store.WriteString("Settings", "Keep", "1");
    store.EraseSection("msns");
    EXPECT_FALSE(store.SectionExists("MSNs"));
    EXPECT_FALSE(store.ValueExists("MSNs\\00000000\\Show", "Audio"));
    EXPECT_TRUE(store.ValueExists("MSNsX", "Keep"));
    EXPECT_TRUE(store.ValueExists("Settings", "Keep"));
    // A fresh write after the erase starts an empty section, not the old one.
    store.WriteString("MSNs\\00000000", "Name", "n");
    EXPECT_EQ(store.ReadSection("MSNs\\00000000"), std::vector<std::string>{"Name"});
}

TEST(MemorySettingsStore, RemovingWhatIsMissingDoesNothing) {
    MemorySettingsStore store;
    store.WriteString("Settings", "Keep", "1");
    store.EraseSection("Missing\\Deeper");
    store.DeleteValue("Missing", "X");
    store.DeleteValue("Settings", "X");
    store.EraseSection("");  // an empty path names no section: the tree stays
    store.EraseSection("\\");
    EXPECT_EQ(store.ReadString("Settings", "Keep", ""), "1");
    store.DeleteValue("settings", "KEEP");
    EXPECT_FALSE(store.ValueExists("Settings", "Keep"));
    EXPECT_TRUE(store.SectionExists("Settings"));  // the emptied section remains
}

}  // namespace
}  // namespace telvor
