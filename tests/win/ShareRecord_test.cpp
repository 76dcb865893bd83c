// The network DDE share record as the registry component writes it, and the registry
// component's key handling, in the case's own Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "netdde/win/RegAppConfig.h"
#include "netdde/win/ShareRecordWriter.h"
#include "store/win/RegKey.h"

namespace telvor {
namespace {

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<unsigned char> data;
};

RawValue Raw(HKEY root, const std::string& key, const char* name) {
    RawValue value;
    UniqueRegKey k;
    if (OpenRegKey(k, root, key, KEY_QUERY_VALUE) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExA(k.get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    value.data.resize(size);
    RegQueryValueExA(k.get(), name, nullptr, &value.type, value.data.data(), &size);
    return value;
}

std::vector<unsigned char> Sz(const std::string& text) {
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

TEST(ShareRecordWriter, WritesTheShareWithItsTypesAndBytes) {
    WriteNetDdeShareRecord();
    const std::string key = "SOFTWARE\\Microsoft\\NetDDE\\DDE Shares\\TELVS$";
    const struct {
        const char* name;
        DWORD type;
        std::vector<unsigned char> data;
    } expected[] = {{"Application", REG_SZ, Sz("Telvor")},
                    {"Item", REG_SZ, Sz("")},
                    {"Password1", REG_SZ, Sz("")},
                    {"Password2", REG_SZ, Sz("")},
                    {"Topic", REG_SZ, Sz("TelvorServer")},
                    {"Permissions2", REG_BINARY, {0, 0, 0, 0}},
                    {"Additional item count", REG_BINARY, {0, 0, 0, 0}},
                    {"Permissions1", REG_BINARY, {0x1F, 0, 0, 0}}};
    for (const auto& e : expected) {
        const RawValue v = Raw(HKEY_LOCAL_MACHINE, key, e.name);
        EXPECT_EQ(v.type, e.type) << e.name;
        EXPECT_EQ(v.data, e.data) << e.name;
    }
}

TEST(RegAppConfig, SingleWritesAndReopeningOnPathChanges) {
    TRegApp base;
    EXPECT_EQ(base.Location().root, RegRoot::rhCurrentUser);
    TRegAppConfig config;
    EXPECT_EQ(config.Location().root, RegRoot::rhMachine);
    EXPECT_EQ(config.KeyPath(), "SOFTWARE\\My Company\\My Application\\v1.0a");

    config.SetRootKey(RegRoot::rhCurrentUser);
    config.SetCompany("Orbek Test");
    config.WriteString("One", "1");  // inactive: opens, writes, closes
    EXPECT_FALSE(config.Active());
    EXPECT_EQ(Raw(HKEY_CURRENT_USER, config.KeyPath(), "One").data, Sz("1"));

    config.SetActive(true);
    EXPECT_TRUE(config.Active());
    config.SetRelativePath("Sub");
    config.WriteBinary("Two", {1, 2});
    EXPECT_TRUE(config.Active());
    EXPECT_EQ(
        Raw(HKEY_CURRENT_USER, "SOFTWARE\\Orbek Test\\My Application\\v1.0a\\Sub", "Two").data,
        (std::vector<unsigned char>{1, 2}));
    config.SetActive(false);
    EXPECT_FALSE(config.Active());
}

}  // namespace
}  // namespace telvor
