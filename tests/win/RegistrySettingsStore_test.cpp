// The settings tree in the registry of a fresh Wine prefix (each case has its own, so the
// current user's tree is free to use).
#include "store/win/RegistrySettingsStore.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "store/AppSettings.h"
#include "store/win/RegKey.h"

namespace telvor {
namespace {

const std::string kRoot = "Software\\Orbek\\Telvor";

// What the registry holds, read past the store.
DWORD RawType(const std::string& key, const char* name) {
    UniqueRegKey k;
    if (OpenRegKey(k, HKEY_CURRENT_USER, key, KEY_QUERY_VALUE) != ERROR_SUCCESS) return REG_NONE;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(k.get(), name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return REG_NONE;
    return type;
}

void RawSet(const std::string& key, const char* name, DWORD type, const void* data, DWORD size) {
    UniqueRegKey k;
    ASSERT_EQ(CreateRegKey(k, HKEY_CURRENT_USER, key, KEY_SET_VALUE), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(k.get(), name, 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
}

bool RawKeyExists(HKEY root, const std::string& key) {
    UniqueRegKey k;
    return OpenRegKey(k, root, key, KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

template <typename F>
StoreError CaughtStoreError(F&& operation) {
    try {
        operation();
    } catch (const StoreError& error) {
        return error;
    }
    return StoreError(0, "nothing raised");
}

TEST(RegistrySettingsStore, EveryValueIsStoredAsTextUnderTheUsersKey) {
    RegistrySettingsStore store;
    store.WriteString("Settings", "DMPath", "c:\\Programme\\dmail\\dmail.exe");
    store.WriteInteger("Settings", "CloseTime", 60000);
    store.WriteBool("MSNs\\00000000\\Show", "Audio", true);
    EXPECT_EQ(RawType(kRoot + "\\Settings", "DMPath"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RawType(kRoot + "\\Settings", "CloseTime"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RawType(kRoot + "\\MSNs\\00000000\\Show", "Audio"), static_cast<DWORD>(REG_SZ));

    EXPECT_EQ(store.ReadString("Settings", "DMPath", ""), "c:\\Programme\\dmail\\dmail.exe");
    EXPECT_EQ(store.ReadString("Settings", "CloseTime", ""), "60000");
    EXPECT_EQ(store.ReadInteger("Settings", "CloseTime", 0), 60000);
    EXPECT_TRUE(store.ReadBool("MSNs\\00000000\\Show", "Audio", false));
    store.WriteString("Settings", "Empty", "");
    EXPECT_TRUE(store.ValueExists("Settings", "Empty"));
    EXPECT_EQ(store.ReadString("Settings", "Empty", "def"), "");
    // Windows-1252 text goes in and comes out byte for byte.
    store.WriteString("Settings", "DMMessage", "Anruf für &MSN, Grüße");
    EXPECT_EQ(store.ReadString("Settings", "DMMessage", ""), "Anruf für &MSN, Grüße");
}

TEST(RegistrySettingsStore, TextValuesWrittenByOthersAreRead) {
    // Without a terminator, with trailing zeros, and as REG_EXPAND_SZ (not expanded).
    RawSet(kRoot + "\\Settings", "Bare", REG_SZ, "0x1F", 4);
    RawSet(kRoot + "\\Settings", "Padded", REG_SZ, "12\0\0\0", 5);
    RawSet(kRoot + "\\Settings", "Expand", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    RegistrySettingsStore store;
    EXPECT_EQ(store.ReadString("Settings", "Bare", ""), "0x1F");
    EXPECT_EQ(store.ReadInteger("Settings", "Bare", 0), 31);
    EXPECT_EQ(store.ReadString("Settings", "Padded", ""), "12");
    EXPECT_EQ(store.ReadString("Settings", "Expand", ""), "%TEMP%\\x");
}

TEST(RegistrySettingsStore, MissingSectionsAndValuesGiveDefaultsAndCreateNothing) {
    RegistrySettingsStore store;
    EXPECT_EQ(store.ReadString("Settings", "LastCall", "Telvor"), "Telvor");
    EXPECT_EQ(store.ReadInteger("Settings", "WaitPriority", 1), 1);
    EXPECT_TRUE(store.ReadBool("Settings", "Alert", true));
    EXPECT_TRUE(store.ReadSection("Settings").empty());
    EXPECT_TRUE(store.ReadSubsections("MSNs").empty());
    EXPECT_FALSE(store.SectionExists("Settings"));
    EXPECT_FALSE(store.ValueExists("Settings", "Alert"));
    store.EraseSection("MSNs");
    store.DeleteValue("Settings", "Alert");
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kRoot));

    store.WriteString("Settings", "Version", "2.00");
    EXPECT_EQ(store.ReadString("Settings", "Missing", "d"), "d");
    store.DeleteValue("Settings", "Missing");
    store.DeleteValue("settings", "VERSION");
    EXPECT_FALSE(store.ValueExists("Settings", "Version"));
    EXPECT_TRUE(store.SectionExists("Settings"));
}

TEST(RegistrySettingsStore, EraseSectionRemovesTheWholeSubtreeOnly) {
    RegistrySettingsStore store;
    std::vector<MsnEntry> entries(3);
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i].number = std::to_string(i);
    WriteMsnList(store, entries);
    store.WriteString("Settings", "Keep", "1");
    store.WriteString("MSNsOther", "Keep", "1");
    ASSERT_TRUE(RawKeyExists(HKEY_CURRENT_USER, kRoot + "\\MSNs\\00000002\\Record"));

    store.EraseSection("MSNs");
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kRoot + "\\MSNs"));
    EXPECT_TRUE(store.ValueExists("Settings", "Keep"));
    EXPECT_TRUE(store.ValueExists("MSNsOther", "Keep"));

    // An empty path names no section: the tree stays.
    store.EraseSection("");
    EXPECT_TRUE(store.ValueExists("Settings", "Keep"));
}

TEST(RegistrySettingsStore, TwoMsnsWrittenOverFiveLeaveExactlyTwo) {
    RegistrySettingsStore store;
    std::vector<MsnEntry> five(5);
    for (std::size_t i = 0; i < five.size(); ++i) five[i].number = "50" + std::to_string(i);
    WriteMsnList(store, five);
    ASSERT_EQ(ReadMsnList(store).size(), 5u);
    five.resize(2);
    five[1].flags[RecordData] = false;
    WriteMsnList(store, five);
    EXPECT_EQ(store.ReadSubsections("MSNs"), (std::vector<std::string>{"00000000", "00000001"}));
    auto back = ReadMsnList(store);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].number, "501");
    EXPECT_FALSE(back[1].flags[RecordData]);
    EXPECT_TRUE(back[1].flags[RecordAudio]);
}

TEST(RegistrySettingsStore, EnumerationFollowsTheRegistryOrder) {
    RegistrySettingsStore store;
    const std::vector<std::string> written = {"Zeta", "Alpha", "Mid",
                                              "a_long_value_name_"
                                              "that_is_longer_than_sixty_four_characters_"
                                              "to_force_a_larger_buffer"};
    for (const auto& name : written) store.WriteString("Settings", name, "x");
    store.WriteString("Settings\\Sub", "Inner", "x");

    std::vector<std::string> raw;
    {
        UniqueRegKey k;
        ASSERT_EQ(OpenRegKey(k, HKEY_CURRENT_USER, kRoot + "\\Settings", KEY_QUERY_VALUE), ERROR_SUCCESS);
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumValueA(k.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            raw.emplace_back(name, length);
        }
    }
    EXPECT_EQ(store.ReadSection("Settings"), raw);
    std::vector<std::string> sorted = raw, expected = written;
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);  // values only, never the subsection
    EXPECT_EQ(store.ReadSubsections("Settings"), std::vector<std::string>{"Sub"});
}

TEST(RegistrySettingsStore, NamesIgnoreLetterCase) {
    RegistrySettingsStore store;
    store.WriteString("Settings", "CloseTime", "1000");
    store.WriteString("SETTINGS", "closetime", "2000");
    EXPECT_EQ(store.ReadString("settings", "CLOSETIME", ""), "2000");
    EXPECT_EQ(store.ReadSection("Settings"), std::vector<std::string>{"CloseTime"});
    EXPECT_TRUE(store.SectionExists("sEtTiNgS"));
    store.EraseSection("settings");
    EXPECT_FALSE(store.SectionExists("Settings"));
}

TEST(RegistrySettingsStore, NonTextValueRaisesInvalidType) {
    DWORD number = 1;
    RawSet(kRoot + "\\Settings", "Alert", REG_DWORD, &number, sizeof number);
    RawSet(kRoot + "\\Settings", "Blob", REG_BINARY, "ab", 2);
    RegistrySettingsStore store;
    StoreError error = CaughtStoreError([&] { store.ReadBool("Settings", "Alert", false); });
    EXPECT_EQ(error.Id(), 61626u);
    EXPECT_STREQ(error.what(), "Ungültiger Datentyp für 'Alert'");
    EXPECT_EQ(CaughtStoreError([&] { store.ReadString("Settings", "Blob", ""); }).Id(), 61626u);
    // Existence and enumeration do not look at the type; overwriting makes it text again.
    EXPECT_TRUE(store.ValueExists("Settings", "Alert"));
    store.WriteBool("Settings", "Alert", false);
    EXPECT_FALSE(store.ReadBool("Settings", "Alert", true));
}

TEST(RegistrySettingsStore, SectionThatCannotBeCreatedRaisesItsError) {
    // Below a volatile key only volatile keys can be created; the store creates lasting ones.
    RegistrySettingsStore store;
    store.WriteString("Settings", "Version", "2.00");  // the lasting tree above it
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (kRoot + "\\Temp").c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    UniqueRegKey volatileKey(created);
    StoreError error = CaughtStoreError([&] { store.WriteString("Temp\\Child", "Value", "1"); });
    EXPECT_EQ(error.Id(), 61627u);
    EXPECT_STREQ(error.what(), "Erzeugung von Schlüssel Temp\\Child misslungen");
}

TEST(RegistrySettingsStore, ValueThatCannotBeSetRaisesItsError) {
    RegistrySettingsStore store;
    const std::string tooLong(20000, 'n');  // value names end at 16383 characters
    StoreError error = CaughtStoreError([&] { store.WriteString("Settings", tooLong, "1"); });
    EXPECT_EQ(error.Id(), 61628u);
    EXPECT_EQ(std::string(error.what()), "Konnte Daten für '" + tooLong + "' nicht setzen");
}

TEST(RegistrySettingsStore, OpensOnAnyRootAndPath) {
    // Migration reads the local machine's "Software" with the sections below it.
    RegistrySettingsStore machine(HKEY_LOCAL_MACHINE, "Software");
    machine.WriteString("Orbek\\Telvor\\Settings", "Version", "1.10");
    EXPECT_TRUE(RawKeyExists(HKEY_LOCAL_MACHINE, "Software\\Orbek\\Telvor\\Settings"));
    EXPECT_EQ(machine.ReadString("Orbek\\Telvor\\Settings", "Version", ""), "1.10");
    RegistrySettingsStore user;
    EXPECT_FALSE(user.SectionExists("Settings"));
    machine.EraseSection("Orbek\\Telvor");
    EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, "Software\\Orbek\\Telvor"));
    EXPECT_TRUE(RawKeyExists(HKEY_LOCAL_MACHINE, "Software\\Orbek"));
    EXPECT_TRUE(RawKeyExists(HKEY_LOCAL_MACHINE, "Software\\Microsoft"));
}

}  // namespace
}  // namespace telvor
