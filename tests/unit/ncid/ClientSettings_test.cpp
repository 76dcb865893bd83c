// Where calls come from: defaults, round trip, and the fallback of each bad value.
#include "ncid/ClientSettings.h"

#include <gtest/gtest.h>

#include "store/AppSettings.h"
#include "store/MemorySettingsStore.h"

namespace telvor {
namespace {

TEST(NcidClientSettings, DefaultsAndRoundTrip) {
    MemorySettingsStore store;
    NcidClientSettings read = ReadNcidClientSettings(store);
    EXPECT_EQ(read.source, CallsFrom::Capi);
    EXPECT_EQ(read.host, "");
    EXPECT_EQ(read.port, 3333);
    EXPECT_FALSE(read.UsesNcid());

    WriteNcidClientSettings(store, {CallsFrom::Both, "fe80::1", 4444});
    EXPECT_EQ(store.ReadString(kSettingsSection, "CallSource", ""), "both");
    read = ReadNcidClientSettings(store);
    EXPECT_EQ(read.source, CallsFrom::Both);
    EXPECT_EQ(read.host, "fe80::1");
    EXPECT_EQ(read.port, 4444);
    EXPECT_TRUE(read.UsesNcid() && read.UsesCapi());
}

TEST(NcidClientSettings, BadTextFallsBackValueByValue) {
    MemorySettingsStore store;
    store.WriteString(kSettingsSection, "CallSource", " NCID ");
    store.WriteString(kSettingsSection, "NcidServerHost", " pbx.local ");
    EXPECT_EQ(ReadNcidClientSettings(store).source, CallsFrom::Ncid);
    EXPECT_EQ(ReadNcidClientSettings(store).host, "pbx.local");
    for (std::string_view port : {"0", "65536", "port"}) {
        store.WriteString(kSettingsSection, "CallSource", "isdn");
        store.WriteString(kSettingsSection, "NcidServerHost", "a b & calc");
        store.WriteString(kSettingsSection, "NcidServerPort", port);
        const NcidClientSettings read = ReadNcidClientSettings(store);
        EXPECT_EQ(read.source, CallsFrom::Capi) << port;
        EXPECT_EQ(read.host, "") << port;
        EXPECT_EQ(read.port, 3333) << port;
    }
}

}  // namespace
}  // namespace telvor
