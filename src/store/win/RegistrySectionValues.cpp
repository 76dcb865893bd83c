#include "store/win/RegistrySectionValues.h"

#include <algorithm>

#include "base/StringTable.h"
#include "store/SettingsStore.h"
#include "store/win/RegKey.h"

namespace telvor {

SectionValues ReadRegistrySectionValues(HKEY root, const std::string& keyPath) {
    SectionValues values;
    UniqueRegKey key;
    if (OpenRegKey(key, root, keyPath, KEY_QUERY_VALUE) != ERROR_SUCCESS) return values;
    DWORD count = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                     &longestName, &longestData, nullptr, nullptr);
    values.reserve(count);
    std::string name(std::max<DWORD>(longestName + 1, 64), '\0');
    std::string data(std::max<DWORD>(longestData + 1, 64), '\0');
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size() - 1);  // room for a terminator
        DWORD type = 0;
        const LONG result = RegEnumValueA(key.get(), index, name.data(), &nameLength, nullptr,
                                          &type, reinterpret_cast<BYTE*>(data.data()), &dataLength);
        if (result == ERROR_MORE_DATA && name.size() < 32768 && data.size() < (1u << 24)) {
            name.resize(name.size() * 2);  // a longer value arrived since the query
            data.resize(data.size() * 2);
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        const std::string valueName(name.data(), nameLength);
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw StoreError(kInvalidDataTypeId, FormatStr(kInvalidDataTypeId, {valueName}));
        std::string text(data.data(), std::min<std::size_t>(dataLength, data.size()));
        text.resize(std::min(text.size(), text.find('\0')));
        values.emplace_back(valueName, std::move(text));
        ++index;
    }
    return values;
}

}  // namespace telvor
