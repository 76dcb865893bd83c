#include "store/MemorySettingsStore.h"

#include <algorithm>
#include <array>

namespace telvor {
namespace {

// Letter case folding of Windows-1252 as the registry applies it to key and value names.
constexpr unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 0x10);
    if (c == 0x9F) return 0xFF;
    return c;
}

// Every lookup compares names along a list of siblings: a table keeps that to one load per
// character.
constexpr auto kFolded = [] {
    std::array<unsigned char, 256> table{};
    for (unsigned c = 0; c < table.size(); ++c) table[c] = FoldCase(static_cast<unsigned char>(c));
    return table;
}();

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (kFolded[static_cast<unsigned char>(a[i])] != kFolded[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

// The next non-empty part of `path`, which loses it; empty when none is left. Lookups walk the
// path this way rather than splitting it into a list first.
std::string_view NextPart(std::string_view& path) {
    while (!path.empty()) {
        const auto cut = path.find('\\');
        const auto part = path.substr(0, cut);
        path.remove_prefix(cut == std::string_view::npos ? path.size() : cut + 1);
        if (!part.empty()) return part;
    }
    return {};
}

// "MSNs\00000003\Show" -> its parts; empty parts (doubled or outer separators) are dropped.
std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    for (auto part = NextPart(path); !part.empty(); part = NextPart(path)) parts.push_back(part);
    return parts;
}

template <typename List, typename Key>
auto FindByName(List& list, std::string_view name, Key key) {
    return std::find_if(list.begin(), list.end(),
                        [&](const auto& item) { return SameName(key(item), name); });
}

}  // namespace

struct MemorySettingsStore::Node {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;  // name, text
    std::vector<std::unique_ptr<Node>> children;

    Node* Child(std::string_view childName) const {
        auto it = FindByName(children, childName,
                             [](const auto& c) -> std::string_view { return c->name; });
        return it == children.end() ? nullptr : it->get();
    }
};

namespace {
constexpr auto kValueName = [](const auto& v) -> std::string_view { return v.first; };
}

MemorySettingsStore::MemorySettingsStore() : root_(std::make_unique<Node>()) {}
MemorySettingsStore::~MemorySettingsStore() = default;

MemorySettingsStore::Node* MemorySettingsStore::Find(std::string_view section) const {
    Node* node = root_.get();
    for (auto part = NextPart(section); !part.empty(); part = NextPart(section)) {
        node = node->Child(part);
        if (node == nullptr) return nullptr;
    }
    return node;
}

MemorySettingsStore::Node& MemorySettingsStore::FindOrCreate(std::string_view section) {
    Node* node = root_.get();
    for (auto part = NextPart(section); !part.empty(); part = NextPart(section)) {
        Node* child = node->Child(part);
        if (child == nullptr) {
            node->children.push_back(std::make_unique<Node>());
            child = node->children.back().get();
            child->name = std::string(part);
        }
        node = child;
    }
    return *node;
}

std::string MemorySettingsStore::ReadString(std::string_view section, std::string_view name,
                                            std::string_view def) {
    const Node* node = Find(section);
    if (node == nullptr) return std::string(def);
    auto it = FindByName(node->values, name, kValueName);
    return it == node->values.end() ? std::string(def) : it->second;
}

void MemorySettingsStore::WriteString(std::string_view section, std::string_view name,
                                      std::string_view text) {
    Node& node = FindOrCreate(section);
    auto it = FindByName(node.values, name, kValueName);
    if (it == node.values.end())
        node.values.emplace_back(std::string(name), std::string(text));
    else
        it->second.assign(text);
}

std::vector<std::string> MemorySettingsStore::ReadSection(std::string_view section) {
    std::vector<std::string> names;
    if (const Node* node = Find(section))
        for (const auto& value : node->values) names.push_back(value.first);
    return names;
}

std::vector<std::string> MemorySettingsStore::ReadSubsections(std::string_view section) {
    std::vector<std::string> names;
    if (const Node* node = Find(section))
        for (const auto& child : node->children) names.push_back(child->name);
    return names;
}

bool MemorySettingsStore::SectionExists(std::string_view section) {
    return Find(section) != nullptr;
}

bool MemorySettingsStore::ValueExists(std::string_view section, std::string_view name) {
    const Node* node = Find(section);
    return node != nullptr && FindByName(node->values, name, kValueName) != node->values.end();
}

void MemorySettingsStore::EraseSection(std::string_view section) {
    auto parts = SplitPath(section);
    if (parts.empty()) return;
    Node* parent = root_.get();
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        parent = parent->Child(parts[i]);
        if (parent == nullptr) return;
    }
    auto& siblings = parent->children;
    auto it = FindByName(siblings, parts.back(),
                         [](const auto& c) -> std::string_view { return c->name; });
    if (it != siblings.end()) siblings.erase(it);
}

void MemorySettingsStore::DeleteValue(std::string_view section, std::string_view name) {
    Node* node = Find(section);
    if (node == nullptr) return;
    auto it = FindByName(node->values, name, kValueName);
    if (it != node->values.end()) node->values.erase(it);
}

}  // namespace telvor
