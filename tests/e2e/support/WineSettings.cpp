#include "support/WineSettings.h"

#include <windows.h>

#include <stdexcept>
#include <string>

#include "base/win/Handles.h"
#include "support/CaseRegistry.h"

namespace telvor::e2e {

void SetWindowsVersionFor(std::string_view exeName, std::string_view version) {
    const std::string path = "Software\\Wine\\AppDefaults\\" + std::string(exeName);
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &raw, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create HKCU\\" + path);
    const UniqueRegKey key(raw);
    const std::string value(version);
    if (RegSetValueExA(key.get(), "Version", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw std::runtime_error("cannot write the Windows version of " + std::string(exeName));
}

}  // namespace telvor::e2e
