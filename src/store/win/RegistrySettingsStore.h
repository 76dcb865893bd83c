#pragma once
// The settings tree in the registry. Every operation opens the keys it needs and closes them
// before it returns, so no handle stays open between operations; every value written is
// REG_SZ.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "store/SettingsStore.h"

namespace telvor {

class RegistrySettingsStore : public SettingsStore {
  public:
    // Default: the current user's tree. Migration opens the local machine's "Software".
    RegistrySettingsStore();
    RegistrySettingsStore(HKEY root, std::string_view path);

    // A value of REG_SZ or REG_EXPAND_SZ (returned unexpanded) is text; any other type raises
    // StoreError 61626, a failed read 61629.
    std::string ReadString(std::string_view section, std::string_view name,
                           std::string_view def) override;
    // StoreError 61627 when the section cannot be created, 61628 when the value cannot be set.
    void WriteString(std::string_view section, std::string_view name,
                     std::string_view text) override;
    std::vector<std::string> ReadSection(std::string_view section) override;
    std::vector<std::string> ReadSubsections(std::string_view section) override;
    bool SectionExists(std::string_view section) override;
    bool ValueExists(std::string_view section, std::string_view name) override;
    // Deletes the key with every subkey. An empty path names no section and erases nothing,
    // so that a store opened on a shared key such as "Software" can never wipe it.
    void EraseSection(std::string_view section) override;
    void DeleteValue(std::string_view section, std::string_view name) override;

  private:
    std::string KeyPath(std::string_view section) const;
    void EraseTree(const std::string& keyPath);

    HKEY root_;
    std::string path_;
};

}  // namespace telvor
