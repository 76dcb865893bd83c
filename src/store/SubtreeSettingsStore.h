#pragma once
// A view of one section of another store as a store of its own: every section path is taken
// relative to that section. Migration reads the legacy tree below the local machine's root
// through it with the same walks that read the current tree.
#include <string>
#include <string_view>
#include <vector>

#include "store/SettingsStore.h"

namespace telvor {

class SubtreeSettingsStore : public SettingsStore {
  public:
    SubtreeSettingsStore(SettingsStore& base, std::string_view section)
        : base_(base), section_(section) {}

    std::string ReadString(std::string_view section, std::string_view name,
                           std::string_view def) override {
        return base_.ReadString(Path(section), name, def);
    }
    void WriteString(std::string_view section, std::string_view name,
                     std::string_view text) override {
        base_.WriteString(Path(section), name, text);
    }
    std::vector<std::string> ReadSection(std::string_view section) override {
        return base_.ReadSection(Path(section));
    }
    std::vector<std::string> ReadSubsections(std::string_view section) override {
        return base_.ReadSubsections(Path(section));
    }
    bool SectionExists(std::string_view section) override {
        return base_.SectionExists(Path(section));
    }
    bool ValueExists(std::string_view section, std::string_view name) override {
        return base_.ValueExists(Path(section), name);
    }
    // An empty path names no section here either: the view's own root is never erased.
    void EraseSection(std::string_view section) override {
        if (!section.empty()) base_.EraseSection(Path(section));
    }
    void DeleteValue(std::string_view section, std::string_view name) override {
        base_.DeleteValue(Path(section), name);
    }

  private:
    std::string Path(std::string_view section) const {
        if (section.empty()) return section_;
        return section_ + '\\' + std::string(section);
    }

    SettingsStore& base_;
    std::string section_;
};

}  // namespace telvor
