#include "store/win/RegKey.h"

namespace telvor {

LONG OpenRegKey(UniqueRegKey& key, HKEY parent, const std::string& path, REGSAM access) {
    key.reset();
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(parent, path.c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS) key.reset(opened);
    return result;
}

LONG CreateRegKey(UniqueRegKey& key, HKEY parent, const std::string& path, REGSAM access) {
    key.reset();
    HKEY created = nullptr;
    const LONG result = RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        access, nullptr, &created, nullptr);
    if (result == ERROR_SUCCESS) key.reset(created);
    return result;
}

}  // namespace telvor
