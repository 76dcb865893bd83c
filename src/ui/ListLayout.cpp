#include "ui/ListLayout.h"

#include <algorithm>
#include <string>

#include "store/AppSettings.h"

namespace telvor {
namespace {

struct Defaults {
    std::string_view prefix;
    int widths[4];
    int columns;
    int sortedColumn;
    int sortDirection;
    int scrollColumn;  // the column that gives up room for the scroll bar
};

Defaults DefaultsOf(ConfigList list) {
    switch (list) {
        case ConfigList::Calls:
            return {"CallsLV", {208, 85, 110, 0}, 3, 2, 1, 0};
        case ConfigList::Names:
            return {"NamesLV", {100, 160, 128, 15}, 4, 0, 0, 1};
        case ConfigList::Msns:
            break;
    }
    return {"MSNLV", {50, 160, 178, 15}, 4, 0, 0, 1};
}

std::string Name(std::string_view prefix, std::string_view what) {
    return std::string(prefix) + std::string(what);
}

}  // namespace

ListLayout ReadListLayout(SettingsStore& store, ConfigList list, int scrollBarWidth) {
    const Defaults d = DefaultsOf(list);
    ListLayout layout;
    for (int i = 0; i < d.columns; ++i) {
        const int def = d.widths[i] - (i == d.scrollColumn ? scrollBarWidth : 0);
        const std::string name = Name(d.prefix, "Width" + std::to_string(i + 1));
        layout.widths.push_back(static_cast<int>(store.ReadInteger(kSettingsSection, name, def)));
    }
    layout.sortedColumn = static_cast<int>(
        store.ReadInteger(kSettingsSection, Name(d.prefix, "SortedColumn"), d.sortedColumn));
    layout.sortDirection = static_cast<int>(
        store.ReadInteger(kSettingsSection, Name(d.prefix, "SortDirection"), d.sortDirection));
    return layout;
}

void WriteListLayout(SettingsStore& store, ConfigList list, const ListLayout& layout) {
    const Defaults d = DefaultsOf(list);
    const bool laidOut =
        std::any_of(layout.widths.begin(), layout.widths.end(), [](int w) { return w != 0; });
    if (laidOut) {
        for (std::size_t i = 0; i < layout.widths.size() && i < std::size_t(d.columns); ++i)
            store.WriteInteger(kSettingsSection, Name(d.prefix, "Width" + std::to_string(i + 1)),
                               layout.widths[i]);
    }
    store.WriteInteger(kSettingsSection, Name(d.prefix, "SortedColumn"), layout.sortedColumn);
    store.WriteInteger(kSettingsSection, Name(d.prefix, "SortDirection"), layout.sortDirection);
}

}  // namespace telvor
