// The one-time conversion of caller numbers of earlier versions at the dialog's first showing.
#include "store/CallerNumberConversion.h"

#include <gtest/gtest.h>

#include "store/MemorySettingsStore.h"

namespace telvor {
namespace {

AreaCodeList Codes() {
    AreaCodeList list;
    list.SetLines({"no code line", "n71\tshort", "N711\tStuttgart", "\tempty code",
                   "I49\tDeutschland", "I4930\tBerlin"});
    return list;
}

TEST(CallerNumberConversion, DocumentedExamples) {
    const CallerNumberConversion c(Codes(), "0", "00");
    // "n71" is upper-cased and comes first: the first matching line wins, not the longest.
    EXPECT_EQ(c.Convert("0711123456"), "071 1123456");
    const CallerNumberConversion exact(
        [] {
            AreaCodeList list;
            list.SetLines({"N711\tStuttgart", "I49\tDeutschland"});
            return list;
        }(),
        "0", "00");
    EXPECT_EQ(exact.Convert("0711123456"), "0711 123456");
    EXPECT_EQ(exact.Convert("0049711123456"), "0049 711123456");
}

TEST(CallerNumberConversion, NumbersLeftAlone) {
    const CallerNumberConversion c(Codes(), "0", "00");
    EXPECT_EQ(c.Convert("0711 123456"), "0711 123456");  // already has a blank
    EXPECT_EQ(c.Convert("0711-123"), "0711-123");
    EXPECT_EQ(c.Convert("Hans"), "Hans");
    EXPECT_EQ(c.Convert("12345"), "12345");      // no prefix
    EXPECT_EQ(c.Convert("0899999"), "0899999");  // no area code matches
    EXPECT_EQ(c.Convert(""), "");
}

TEST(CallerNumberConversion, EmptyPrefixesAndLengthLimits) {
    AreaCodeList list;
    list.SetLines({"I711\tStuttgart"});
    // An empty international prefix takes every number as international.
    EXPECT_EQ(CallerNumberConversion(list, "0", "").Convert("711123"), "711 123");
    // The key keeps 61 characters, the new number 60.
    const std::string digits = "711" + std::string(70, '5');
    const std::string converted = CallerNumberConversion(list, "0", "").Convert(digits);
    EXPECT_EQ(converted, "711 " + std::string(56, '5'));
    AreaCodeList national;
    national.SetLines({"N711\tStuttgart"});
    EXPECT_EQ(CallerNumberConversion(national, "", "00").Convert("711#1"), "711 #1");
}

TEST(CallerNumberConversion, OfferedOnceForEarlierVersions) {
    EXPECT_TRUE(IsEarlierVersion("0.00"));
    EXPECT_TRUE(IsEarlierVersion("1.05"));
    EXPECT_TRUE(IsEarlierVersion("10.0"));  // plain character order
    EXPECT_FALSE(IsEarlierVersion("2.00"));
    EXPECT_FALSE(IsEarlierVersion("no"));

    MemorySettingsStore store;
    store.WriteString("Settings", "NationalCalls", "0");
    store.WriteString("Settings", "InternationalCalls", "000");
    AreaCodeList list;
    list.SetLines({"I49\tDeutschland"});
    auto conversion = BeginCallerNumberConversion(store, list);
    ASSERT_TRUE(conversion.has_value());
    EXPECT_EQ(conversion->Convert("00049711"), "00049 711");
    EXPECT_EQ(store.ReadString("Settings", "Version", ""), "2.00");
    EXPECT_FALSE(BeginCallerNumberConversion(store, list).has_value());
}

}  // namespace
}  // namespace telvor
