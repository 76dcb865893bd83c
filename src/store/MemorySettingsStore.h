#pragma once
// A settings tree held in memory, for tests and for any caller that needs a scratch tree.
// It behaves like the registry: section and value names compare without regard to letter
// case (the name keeps the spelling of its first write), and enumeration follows insertion
// order.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/SettingsStore.h"

namespace telvor {

class MemorySettingsStore : public SettingsStore {
  public:
    MemorySettingsStore();
    ~MemorySettingsStore() override;
    MemorySettingsStore(const MemorySettingsStore&) = delete;
    MemorySettingsStore& operator=(const MemorySettingsStore&) = delete;

    std::string ReadString(std::string_view section, std::string_view name,
                           std::string_view def) override;
    void WriteString(std::string_view section, std::string_view name,
                     std::string_view text) override;
    std::vector<std::string> ReadSection(std::string_view section) override;
    std::vector<std::string> ReadSubsections(std::string_view section) override;
    bool SectionExists(std::string_view section) override;
    bool ValueExists(std::string_view section, std::string_view name) override;
    // The root itself ("") is never erased: an empty path names no section.
    void EraseSection(std::string_view section) override;
    void DeleteValue(std::string_view section, std::string_view name) override;

  private:
    struct Node;
    Node* Find(std::string_view section) const;
    Node& FindOrCreate(std::string_view section);

    std::unique_ptr<Node> root_;
};

}  // namespace telvor
