#include "netdde/win/RegAppConfig.h"

#include <utility>

#include "base/StringTable.h"
#include "store/SettingsStore.h"

namespace telvor {

TRegApp::TRegApp() : TRegApp(RegRoot::rhCurrentUser) {}

TRegApp::TRegApp(RegRoot root) {
    location_.root = root;
}

HKEY TRegApp::RootHandle() const {
    switch (location_.root) {
        case RegRoot::rhMachine:
            return HKEY_LOCAL_MACHINE;
        case RegRoot::rhAllUsers:
            return HKEY_USERS;
        case RegRoot::rhCurrentUser:
            break;
    }
    return HKEY_CURRENT_USER;
}

void TRegApp::SetRootKey(RegRoot root) {
    location_.root = root;
    Reopen();
}
void TRegApp::SetCompany(std::string company) {
    location_.company = std::move(company);
    Reopen();
}
void TRegApp::SetApplicationName(std::string name) {
    location_.applicationName = std::move(name);
    Reopen();
}
void TRegApp::SetVersion(std::string version) {
    location_.version = std::move(version);
    Reopen();
}
void TRegApp::SetRelativePath(std::string path) {
    location_.relativePath = std::move(path);
    Reopen();
}

void TRegApp::SetActive(bool active) {
    if (active == Active()) return;
    if (active)
        Open();
    else
        key_.reset();
}

void TRegApp::Open() {
    const std::string path = KeyPath();
    HKEY key = nullptr;
    if (RegCreateKeyExA(RootHandle(), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw StoreError(kCreateKeyFailedId, FormatStr(kCreateKeyFailedId, {path}));
    key_.reset(key);
}

void TRegApp::Reopen() {
    if (!Active()) return;
    key_.reset();
    Open();
}

void TRegApp::Write(std::string_view name, DWORD type, const BYTE* data, DWORD size) {
    const bool single = !Active();
    if (single) Open();
    const std::string valueName(name);
    const LONG result = RegSetValueExA(key_.get(), valueName.c_str(), 0, type, data, size);
    if (single) key_.reset();
    if (result != ERROR_SUCCESS)
        throw StoreError(kWriteValueFailedId, FormatStr(kWriteValueFailedId, {valueName}));
}

void TRegApp::WriteString(std::string_view name, std::string_view text) {
    const std::string data(text);
    Write(name, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
          static_cast<DWORD>(data.size() + 1));
}

void TRegApp::WriteBinary(std::string_view name, const std::vector<unsigned char>& bytes) {
    Write(name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

}  // namespace telvor
