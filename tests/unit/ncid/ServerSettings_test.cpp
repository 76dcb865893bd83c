// The server's four settings: defaults, round trip, and the fallback of each bad value.
#include "ncid/ServerSettings.h"

#include <gtest/gtest.h>

#include "store/AppSettings.h"
#include "store/MemorySettingsStore.h"

namespace telvor {
namespace {

TEST(NcidServerSettings, DefaultsAndRoundTrip) {
    MemorySettingsStore store;
    NcidSettingsFallbacks fell;
    NcidServerSettings read = ReadNcidServerSettings(store, &fell);
    EXPECT_FALSE(read.enabled);
    EXPECT_EQ(read.port, 3333);
    EXPECT_EQ(read.listen, "");
    EXPECT_EQ(read.allow, kDefaultAllowText);
    EXPECT_FALSE(fell.Any());

    NcidServerSettings written{true, 4444, "192.168.1.2", "192.168.1.0/24"};
    WriteNcidServerSettings(store, written);
    EXPECT_EQ(store.ReadString(kSettingsSection, "NcidServer", ""), "1");
    read = ReadNcidServerSettings(store, &fell);
    EXPECT_TRUE(read.enabled);
    EXPECT_EQ(read.port, 4444);
    EXPECT_EQ(FormatNetAddress(*read.ListenAddress()), "192.168.1.2");
    EXPECT_FALSE(read.AllowRules().Allows(*ParseNetAddress("10.0.0.1")));
    EXPECT_FALSE(fell.Any());
}

TEST(NcidServerSettings, BadTextFallsBackValueByValue) {
    for (std::string_view port : {"0", "65536", "-1", "port", ""}) {
        MemorySettingsStore store;
        store.WriteString(kSettingsSection, "NcidPort", port);
        store.WriteString(kSettingsSection, "NcidListen", "my-pc");
        store.WriteString(kSettingsSection, "NcidAllow", "10.0.0.0/8, all");
        NcidSettingsFallbacks fell;
        const NcidServerSettings read = ReadNcidServerSettings(store, &fell);
        EXPECT_EQ(read.port, 3333) << port;
        EXPECT_TRUE(fell.port && fell.listen && fell.allow) << port;
        EXPECT_EQ(read.listen, "");
        EXPECT_FALSE(read.ListenAddress());
        EXPECT_EQ(read.allow, kDefaultAllowText);
    }
    MemorySettingsStore blank;
    blank.WriteString(kSettingsSection, "NcidAllow", "  ");
    NcidSettingsFallbacks fell;
    EXPECT_EQ(ReadNcidServerSettings(blank, &fell).allow, kDefaultAllowText);
    EXPECT_FALSE(fell.allow) << "a blank list is the default, not a mistake";
}

}  // namespace
}  // namespace telvor
