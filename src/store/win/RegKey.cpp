#include "store/win/RegKey.h"

namespace telvor {

LONG RegKey::Open(HKEY parent, const std::string& path, REGSAM access) {
    Reset();
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(parent, path.c_str(), 0, access, &key);
    if (result == ERROR_SUCCESS) key_ = key;
    return result;
}

LONG RegKey::Create(HKEY parent, const std::string& path, REGSAM access) {
    Reset();
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                  nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) key_ = key;
    return result;
}

void RegKey::Reset() {
    if (key_ != nullptr) RegCloseKey(std::exchange(key_, nullptr));
}

}  // namespace telvor
