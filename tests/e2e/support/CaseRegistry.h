#pragma once
// The monitor's settings in the case's own Wine prefix (HKCU\Software\Orbek\Telvor): a test
// seeds them before starting a program and reads what the program stored. Every setting is
// text (REG_SZ). `path` is a sub-key below the settings key, empty for the key itself.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvor::e2e {

inline constexpr const char* kSettingsKey = "Software\\Orbek\\Telvor";

// The text of a value; nothing when the key or the value does not exist or is not text.
std::optional<std::string> ReadSetting(std::string_view path, std::string_view name);
// Creates the key when needed; throws std::runtime_error when the write fails.
void WriteSetting(std::string_view path, std::string_view name, std::string_view value);
// Any text value of the case's registry (an empty name is the key's default value), e.g. a
// file type's handler under Software\Classes. Throws like WriteSetting.
void WriteUserValue(HKEY root, const std::string& key, std::string_view name,
                    std::string_view value);
// Any text value of the case's registry, read like ReadSetting.
std::optional<std::string> ReadUserValue(HKEY root, const std::string& key, std::string_view name);
void DeleteSetting(std::string_view path, std::string_view name);
bool SettingsKeyExists(std::string_view path = {});
// The names of the key's values, in the registry's order.
std::vector<std::string> SettingNames(std::string_view path = {});

}  // namespace telvor::e2e
