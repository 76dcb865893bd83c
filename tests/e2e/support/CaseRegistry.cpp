#include "support/CaseRegistry.h"

#include <stdexcept>

#include "base/win/Handles.h"

namespace telvor::e2e {

namespace {

std::string KeyPath(std::string_view path) {
    std::string key = kSettingsKey;
    if (!path.empty()) {
        key += '\\';
        key += path;
    }
    return key;
}

UniqueRegKey Open(std::string_view path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(path).c_str(), 0, access, &key) != ERROR_SUCCESS) {
        return {};
    }
    return UniqueRegKey(key);
}

}  // namespace

std::optional<std::string> ReadSetting(std::string_view path, std::string_view name) {
    return ReadUserValue(HKEY_CURRENT_USER, KeyPath(path), name);
}

std::optional<std::string> ReadUserValue(HKEY root, const std::string& keyPath,
                                         std::string_view name) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    const UniqueRegKey key(raw);
    const std::string valueName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::string value(size, '\0');
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(size);
    // Stored with its terminator (and possibly written without one): cut at the first NUL.
    if (const auto nul = value.find('\0'); nul != std::string::npos) value.resize(nul);
    return value;
}

void WriteUserValue(HKEY root, const std::string& key, std::string_view name,
                    std::string_view value) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS) {
        throw std::runtime_error("cannot create " + key);
    }
    const UniqueRegKey handle(raw);
    const std::string text(value);
    if (RegSetValueExA(handle.get(), std::string(name).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot write " + std::string(name));
    }
}

void WriteSetting(std::string_view path, std::string_view name, std::string_view value) {
    WriteUserValue(HKEY_CURRENT_USER, KeyPath(path), name, value);
}

void DeleteSetting(std::string_view path, std::string_view name) {
    if (const UniqueRegKey key = Open(path, KEY_SET_VALUE)) {
        RegDeleteValueA(key.get(), std::string(name).c_str());
    }
}

bool SettingsKeyExists(std::string_view path) {
    return static_cast<bool>(Open(path, KEY_QUERY_VALUE));
}

std::vector<std::string> SettingNames(std::string_view path) {
    std::vector<std::string> names;
    const UniqueRegKey key = Open(path, KEY_QUERY_VALUE);
    if (!key) return names;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD length = sizeof name;
        if (RegEnumValueA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

}  // namespace telvor::e2e
