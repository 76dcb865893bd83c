#include "store/win/RegistrySettingsStore.h"

#include <algorithm>

#include "store/AppSettings.h"
#include "store/win/RegKey.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

constexpr unsigned kInvalidType = 61626;
constexpr unsigned kCannotCreate = 61627;
constexpr unsigned kCannotSet = 61628;
constexpr unsigned kCannotGet = 61629;

// Limits of the registry: a value name has at most 16383 characters, a key name 255.
constexpr DWORD kMaxValueName = 16384;
constexpr DWORD kMaxKeyName = 256;

[[noreturn]] void Raise(unsigned id, std::string_view subject) {
    throw StoreError(id, FormatStr(id, {subject}));
}

// "\Settings\" and "Settings" name the same section; doubled separators count once. The
// registry itself refuses such paths, the in-memory tree accepts them: both behave alike.
std::string Normalise(std::string_view section) {
    std::string path;
    while (!section.empty()) {
        auto cut = section.find('\\');
        auto part = section.substr(0, cut);
        if (!part.empty()) {
            if (!path.empty()) path += '\\';
            path += part;
        }
        if (cut == std::string_view::npos) break;
        section.remove_prefix(cut + 1);
    }
    return path;
}

std::vector<std::string> EnumerateNames(HKEY key, bool values) {
    std::vector<std::string> names;
    DWORD longestName = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, values ? nullptr : &longestName,
                     nullptr, nullptr, values ? &longestName : nullptr, nullptr, nullptr, nullptr);
    std::string buffer(std::max<DWORD>(longestName + 1, 64), '\0');
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG result = values ? RegEnumValueA(key, index, buffer.data(), &length, nullptr, nullptr,
                                             nullptr, nullptr)
                             : RegEnumKeyExA(key, index, buffer.data(), &length, nullptr, nullptr,
                                             nullptr, nullptr);
        if (result == ERROR_MORE_DATA &&
            buffer.size() < (values ? kMaxValueName : kMaxKeyName) * 2) {
            buffer.resize(buffer.size() * 2);  // a longer name arrived since the query
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), length);
        ++index;
    }
    return names;
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore()
    : RegistrySettingsStore(HKEY_CURRENT_USER, kSettingsKeyPath) {}

RegistrySettingsStore::RegistrySettingsStore(HKEY root, std::string_view path)
    : root_(root), path_(Normalise(path)) {}

std::string RegistrySettingsStore::KeyPath(std::string_view section) const {
    std::string relative = Normalise(section);
    if (path_.empty()) return relative;
    if (relative.empty()) return path_;
    return path_ + '\\' + relative;
}

std::string RegistrySettingsStore::ReadString(std::string_view section, std::string_view name,
                                              std::string_view def) {
    UniqueRegKey key;
    if (OpenRegKey(key, root_, KeyPath(section), KEY_QUERY_VALUE) != ERROR_SUCCESS)
        return std::string(def);
    const std::string valueName(name);
    // The value may grow between asking for its size and reading it: ask again, a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        LONG result =
            RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
        if (result == ERROR_FILE_NOT_FOUND) return std::string(def);
        if (result != ERROR_SUCCESS) Raise(kCannotGet, valueName);
        if (type != REG_SZ && type != REG_EXPAND_SZ) Raise(kInvalidType, valueName);

        std::string text(size + 1, '\0');  // room for a terminator the data may lack
        DWORD got = size;
        result = RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(text.data()), &got);
        if (result == ERROR_MORE_DATA) continue;
        if (result == ERROR_FILE_NOT_FOUND) return std::string(def);
        if (result != ERROR_SUCCESS) Raise(kCannotGet, valueName);
        if (type != REG_SZ && type != REG_EXPAND_SZ) Raise(kInvalidType, valueName);
        text.resize(std::min<DWORD>(got, size));
        text.resize(std::min(text.size(), text.find('\0')));
        return text;
    }
    Raise(kCannotGet, valueName);
}

void RegistrySettingsStore::WriteString(std::string_view section, std::string_view name,
                                        std::string_view text) {
    UniqueRegKey key;
    if (CreateRegKey(key, root_, KeyPath(section), KEY_SET_VALUE) != ERROR_SUCCESS)
        Raise(kCannotCreate, section);
    const std::string valueName(name);
    const std::string data(text);
    if (RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1)) != ERROR_SUCCESS)
        Raise(kCannotSet, valueName);
}

std::vector<std::string> RegistrySettingsStore::ReadSection(std::string_view section) {
    UniqueRegKey key;
    if (OpenRegKey(key, root_, KeyPath(section), KEY_QUERY_VALUE) != ERROR_SUCCESS) return {};
    return EnumerateNames(key.get(), true);
}

std::vector<std::string> RegistrySettingsStore::ReadSubsections(std::string_view section) {
    UniqueRegKey key;
    if (OpenRegKey(key, root_, KeyPath(section), KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE) !=
        ERROR_SUCCESS)
        return {};
    return EnumerateNames(key.get(), false);
}

bool RegistrySettingsStore::SectionExists(std::string_view section) {
    UniqueRegKey key;
    return OpenRegKey(key, root_, KeyPath(section), KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::ValueExists(std::string_view section, std::string_view name) {
    UniqueRegKey key;
    if (OpenRegKey(key, root_, KeyPath(section), KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
    const std::string valueName(name);
    LONG result =
        RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr, nullptr, nullptr);
    return result == ERROR_SUCCESS || result == ERROR_MORE_DATA;
}

void RegistrySettingsStore::EraseSection(std::string_view section) {
    if (Normalise(section).empty()) return;
    EraseTree(KeyPath(section));
}

// A key with subkeys cannot be deleted: the subkeys go first, depth first.
void RegistrySettingsStore::EraseTree(const std::string& keyPath) {
    {
        UniqueRegKey key;
        if (OpenRegKey(key, root_, keyPath, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE) != ERROR_SUCCESS)
            return;
        // Most children are leaves (10 000 legacy callers or calls): deleted through the open
        // parent at once, only a child with children of its own needs the walk below it.
        for (const auto& child : EnumerateNames(key.get(), false))
            if (RegDeleteKeyA(key.get(), child.c_str()) != ERROR_SUCCESS)
                EraseTree(keyPath + '\\' + child);
    }
    RegDeleteKeyA(root_, keyPath.c_str());
}

void RegistrySettingsStore::DeleteValue(std::string_view section, std::string_view name) {
    UniqueRegKey key;
    if (OpenRegKey(key, root_, KeyPath(section), KEY_SET_VALUE) != ERROR_SUCCESS) return;
    RegDeleteValueA(key.get(), std::string(name).c_str());
}

}  // namespace telvor
