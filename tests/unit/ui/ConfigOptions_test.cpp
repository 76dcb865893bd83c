// The option pages as values: close time in seconds and milliseconds, the dmail radio group,
// what a showing loads and the order in which an apply stores the options.
#include "ui/ConfigOptions.h"

#include <gtest/gtest.h>

#include "store/MemorySettingsStore.h"

namespace telvor {
namespace {

TEST(CloseTime, ShownInWholeSecondsWithinTheUpDownRange) {
    EXPECT_EQ(CloseTimePosition(60000), 60);
    EXPECT_EQ(CloseTimePosition(60999), 60);
    EXPECT_EQ(CloseTimePosition(0), 0);
    EXPECT_EQ(CloseTimePosition(3600000), 3600);
    // A hand-edited value beyond the range shows the limit, and so is stored as the limit.
    EXPECT_EQ(CloseTimePosition(99999999), 3600);
    EXPECT_EQ(CloseTimePosition(-5000), 0);
}

TEST(CloseTime, StoredInMillisecondsNeverAboveOneHour) {
    EXPECT_EQ(CloseTimeMilliseconds(90), 90000);
    EXPECT_EQ(CloseTimeMilliseconds(3600), 3600000);
    EXPECT_EQ(CloseTimeMilliseconds(3601), 3600000);
    EXPECT_EQ(CloseTimeMilliseconds(-1), 0);
    EXPECT_EQ(CloseTimeMilliseconds(CloseTimePosition(99999999)), 3600000);
}

TEST(CloseTime, TypedTextCountsOnlyAsAWholeNumberInRange) {
    EXPECT_EQ(ParseCloseTimeText("90"), 90);
    EXPECT_EQ(ParseCloseTimeText("0"), 0);
    EXPECT_EQ(ParseCloseTimeText("3600"), 3600);
    EXPECT_EQ(ParseCloseTimeText("3601"), std::nullopt);
    EXPECT_EQ(ParseCloseTimeText("-10"), std::nullopt);
    EXPECT_EQ(ParseCloseTimeText(""), std::nullopt);
    EXPECT_EQ(ParseCloseTimeText("9a"), std::nullopt);
    EXPECT_EQ(ParseCloseTimeText("1.000"), std::nullopt);
    EXPECT_EQ(ParseCloseTimeText("99999999999999"), std::nullopt);
}

TEST(DmWhen, StoredValuesOutsideTheGroupShowItsEnds) {
    EXPECT_EQ(DmWhenItem(7), 3);
    EXPECT_EQ(DmWhenItem(3), 3);
    EXPECT_EQ(DmWhenItem(0), 0);
    EXPECT_EQ(DmWhenItem(-2), 0);
}

TEST(LoadOptions, BothCloseModesStoredShowOnlyCloseAfterConnect) {
    MemorySettingsStore store;
    AppSettings settings;
    settings.closeAfterTime = true;
    settings.closeAfterConnect = true;
    settings.closeTime = 60000;
    settings.dmWhenMessage = 7;
    ConfigOptions o = LoadOptions(store, settings);
    EXPECT_FALSE(o.closeAfterTime);
    EXPECT_TRUE(o.closeAfterConnect);
    EXPECT_EQ(o.closeTimePosition, 60);
    EXPECT_EQ(o.dmWhen, 3);
    EXPECT_EQ(o.nationalCalls, "0");
    EXPECT_EQ(o.internationalCalls, "00");

    // Applied as shown: CloseAfterTime "0", DMWhenMessage 3.
    TakeOptions(o, settings);
    WriteOptions(store, settings, o);
    EXPECT_EQ(store.ReadString("Settings", "CloseAfterTime", "?"), "0");
    EXPECT_EQ(store.ReadString("Settings", "CloseAfterConnect", "?"), "1");
    EXPECT_EQ(store.ReadString("Settings", "DMWhenMessage", "?"), "3");
}

TEST(LoadOptions, PrefixesComeFromTheStoreAsTyped) {
    MemorySettingsStore store;
    store.WriteString("Settings", "NationalCalls", " 0 ");
    store.WriteString("Settings", "InternationalCalls", "");
    ConfigOptions o = LoadOptions(store, AppSettings{});
    EXPECT_EQ(o.nationalCalls, " 0 ");
    EXPECT_EQ(o.internationalCalls, "");
}

TEST(TakeOptions, ReachTheRunningSettings) {
    ConfigOptions o;
    o.closeAuto = true;
    o.closeTimePosition = 90;
    o.enableNetDde = true;
    o.initAlways = true;
    o.alert = false;
    o.dmWhen = 1;
    o.dmPath = "d:\\dmail.exe";
    o.dmReceiver = "Büro";
    o.dmMessage = "&NAME";
    AppSettings a;
    a.callerFile = "keep.ddb";
    TakeOptions(o, a);
    EXPECT_TRUE(a.closeCallerForms);
    EXPECT_EQ(a.closeTime, 90000);
    EXPECT_TRUE(a.enableNetDde);
    EXPECT_TRUE(a.initAlways);
    EXPECT_FALSE(a.alert);
    EXPECT_EQ(a.dmWhenMessage, 1);
    EXPECT_EQ(a.dmPath, "d:\\dmail.exe");
    EXPECT_EQ(a.dmReceiver, "Büro");
    EXPECT_EQ(a.dmMessage, "&NAME");
    EXPECT_EQ(a.callerFile, "keep.ddb");  // the file paths are no option of the dialog
}

TEST(WriteOptions, NeverStoresTheNetworkSwitch) {
    MemorySettingsStore store;
    AppSettings a;
    a.enableNetDde = true;
    WriteOptions(store, a, ConfigOptions{});
    EXPECT_FALSE(store.ValueExists("Settings", "EnableNetDDE"));
}

}  // namespace
}  // namespace telvor
