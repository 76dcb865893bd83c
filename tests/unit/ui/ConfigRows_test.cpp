// Rows of the dialog's lists against the stored forms: MSN entries, and the column widths and
// sort state with their defaults.
#include "ui/ConfigRows.h"

#include <gtest/gtest.h>

#include "store/MemorySettingsStore.h"
#include "ui/ListLayout.h"

namespace telvor {
namespace {

TEST(MsnRow, ProgramColumnAndDmailRoundTrip) {
    MsnEntry entry;
    entry.number = "4711";
    entry.name = "Büro";
    entry.programm = "c:\\my \"prog\".exe";
    entry.parameter = "&NUMBER x";
    entry.dmail = true;
    entry.flags[ShowCallerKnown] = true;
    const MsnRow row = ToMsnRow(entry);
    EXPECT_EQ(row.programColumn, "\"c:\\my prog.exe\" &NUMBER x");
    EXPECT_EQ(row.dmailColumn, "X");
    const MsnEntry back = ToMsnEntry(row);
    EXPECT_EQ(back.programm, "c:\\my prog.exe");
    EXPECT_EQ(back.parameter, "&NUMBER x");
    EXPECT_TRUE(back.dmail);
    EXPECT_EQ(back.flags, entry.flags);
}

TEST(MsnRow, EmptyProgramAndParametersGiveAnEmptyColumn) {
    MsnEntry entry;
    entry.number = "1";
    EXPECT_EQ(ToMsnRow(entry).programColumn, "");
    MsnRow row;
    row.programColumn = "ab";  // shorter than 3: no program at all
    EXPECT_EQ(ToMsnEntry(row).programm, "");
    EXPECT_FALSE(ToMsnEntry(row).dmail);
}

TEST(ListLayout, DefaultsLeaveRoomForTheScrollBar) {
    MemorySettingsStore store;
    const ListLayout calls = ReadListLayout(store, ConfigList::Calls, 16);
    EXPECT_EQ(calls.widths, (std::vector<int>{192, 85, 110}));
    EXPECT_EQ(calls.sortedColumn, 2);
    EXPECT_EQ(calls.sortDirection, 1);
    const ListLayout names = ReadListLayout(store, ConfigList::Names, 16);
    EXPECT_EQ(names.widths, (std::vector<int>{100, 144, 128, 15}));
    EXPECT_EQ(names.sortedColumn, 0);
    EXPECT_EQ(names.sortDirection, 0);
    const ListLayout msns = ReadListLayout(store, ConfigList::Msns, 16);
    EXPECT_EQ(msns.widths, (std::vector<int>{50, 144, 178, 15}));
}

TEST(ListLayout, SavedUnderTheListsNamesAndReadBack) {
    MemorySettingsStore store;
    WriteListLayout(store, ConfigList::Msns, {{1, 2, 3, 4}, 3, 1});
    EXPECT_EQ(store.ReadString("Settings", "MSNLVWidth4", "?"), "4");
    EXPECT_EQ(store.ReadString("Settings", "MSNLVSortedColumn", "?"), "3");
    EXPECT_EQ(store.ReadString("Settings", "MSNLVSortDirection", "?"), "1");
    const ListLayout back = ReadListLayout(store, ConfigList::Msns, 16);
    EXPECT_EQ(back.widths, (std::vector<int>{1, 2, 3, 4}));
}

TEST(ListLayout, AllWidthsZeroKeepTheStoredOnesButTheSortStateIsWritten) {
    MemorySettingsStore store;
    WriteListLayout(store, ConfigList::Calls, {{200, 80, 100}, 2, 1});
    WriteListLayout(store, ConfigList::Calls, {{0, 0, 0}, 0, 0});
    EXPECT_EQ(store.ReadString("Settings", "CallsLVWidth1", "?"), "200");
    EXPECT_EQ(store.ReadString("Settings", "CallsLVSortedColumn", "?"), "0");
    EXPECT_EQ(store.ReadString("Settings", "CallsLVSortDirection", "?"), "0");
    // One width other than 0 is enough to write them all.
    WriteListLayout(store, ConfigList::Calls, {{0, 0, 7}, 0, 0});
    EXPECT_EQ(store.ReadString("Settings", "CallsLVWidth1", "?"), "0");
    EXPECT_EQ(store.ReadString("Settings", "CallsLVWidth3", "?"), "7");
}

}  // namespace
}  // namespace telvor
