#pragma once
// TRegApp and TRegAppConfig: the program's registry component for values outside the settings
// tree (the network DDE share record below HKEY_LOCAL_MACHINE). The key is named by root,
// company, application, version and relative path (netdde/RegAppPath.h). Active, the
// component holds the key open, created when missing; a single write while inactive opens it,
// writes and closes it again.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/win/Handles.h"
#include "netdde/RegAppPath.h"

namespace telvor {

class TRegApp {
  public:
    TRegApp();  // root rhCurrentUser
    virtual ~TRegApp() = default;
    TRegApp(const TRegApp&) = delete;
    TRegApp& operator=(const TRegApp&) = delete;

    // Changing a part of the path while active closes the key and opens the new one.
    void SetRootKey(RegRoot root);
    void SetCompany(std::string company);
    void SetApplicationName(std::string name);
    void SetVersion(std::string version);
    void SetRelativePath(std::string path);
    // Activating opens the key, creating it when missing: StoreError 61627 when it cannot.
    void SetActive(bool active);

    bool Active() const { return static_cast<bool>(key_); }
    const RegAppLocation& Location() const { return location_; }
    HKEY RootHandle() const;
    std::string KeyPath() const { return RegAppKeyPath(location_); }

    // REG_SZ and REG_BINARY values; StoreError 61628 when the value cannot be set.
    void WriteString(std::string_view name, std::string_view text);
    void WriteBinary(std::string_view name, const std::vector<unsigned char>& bytes);

  protected:
    explicit TRegApp(RegRoot root);

  private:
    void Open();
    void Reopen();
    void Write(std::string_view name, DWORD type, const BYTE* data, DWORD size);

    RegAppLocation location_;
    UniqueRegKey key_;
};

// The component as the program places it: root rhMachine, otherwise TRegApp's defaults.
class TRegAppConfig : public TRegApp {
  public:
    TRegAppConfig() : TRegApp(RegRoot::rhMachine) {}
};

}  // namespace telvor
