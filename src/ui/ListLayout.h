#pragma once
// Column widths and sort state of the dialog's three lists, kept in section Settings:
// CallsLVWidth1..3, NamesLVWidth1..4, MSNLVWidth1..4 and <list>SortedColumn/SortDirection.
#include <string_view>
#include <vector>

#include "store/SettingsStore.h"

namespace telvor {

enum class ConfigList { Calls, Names, Msns };

struct ListLayout {
    std::vector<int> widths;
    int sortedColumn = 0;
    int sortDirection = 0;  // 0 ascending (sdDown), 1 descending (sdUp)
};

// The stored layout, with the defaults where nothing is stored. scrollBarWidth is the width
// of a vertical scroll bar, which the defaults leave room for.
ListLayout ReadListLayout(SettingsStore& store, ConfigList list, int scrollBarWidth);
// Writes the widths only when at least one is not 0 (a list never laid out keeps the stored
// ones), then the sort state in any case.
void WriteListLayout(SettingsStore& store, ConfigList list, const ListLayout& layout);

}  // namespace telvor
