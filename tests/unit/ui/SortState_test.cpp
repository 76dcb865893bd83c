// The header-click and property rules of a sortable list: which direction a click leaves, and
// that property sets sort again without flipping anything.
#include "ui/SortState.h"

#include <gtest/gtest.h>

#include <vector>

namespace telvor {
namespace {

struct Recorder {
    int columns = 3;
    std::vector<int> keys;
    SortState state{[this] { return columns; }, [this](int key) { keys.push_back(key); }};
};

TEST(SortState, ClicksOnTheSortedColumnFlipAndAnotherColumnStartsAscending) {
    Recorder r;
    r.state.ColumnClick(0);  // the sorted column (0) while ascending: flips
    EXPECT_EQ(r.state.SortDirection(), sdUp);
    r.state.ColumnClick(0);
    EXPECT_EQ(r.state.SortDirection(), sdDown);
    r.state.ColumnClick(0);
    EXPECT_EQ(r.state.SortDirection(), sdUp);
    r.state.ColumnClick(2);  // another column, whatever the direction was
    EXPECT_EQ(r.state.SortedColumn(), 2);
    EXPECT_EQ(r.state.SortDirection(), sdDown);
    EXPECT_EQ(r.keys, (std::vector<int>{-1, 1, -1, 3}));
}

TEST(SortState, SettersSortWithoutFlippingEvenWhenNothingChanges) {
    Recorder r;
    r.state.SetSortedColumn(2);
    r.state.SetSortDirection(sdUp);
    r.state.SetSortDirection(sdUp);
    r.state.SetSortedColumn(2);
    EXPECT_EQ(r.state.SortDirection(), sdUp);
    EXPECT_EQ(r.keys, (std::vector<int>{3, -3, -3, -3}));
    EXPECT_FALSE(r.state.InClick());
    EXPECT_FALSE(r.state.InSetter());
}

TEST(SortState, ColumnsOutsideTheListAreNeverUsed) {
    Recorder r;
    r.state.SetSortedColumn(1);
    r.state.SetSortedColumn(3);   // the number of columns
    r.state.SetSortedColumn(-1);  // from edited settings
    r.state.ColumnClick(-5);
    r.state.ColumnClick(7);
    EXPECT_EQ(r.state.SortedColumn(), 1);
    EXPECT_EQ(r.keys, (std::vector<int>{2}));
}

TEST(SortState, OnlyTheValueOneIsDescending) {
    Recorder r;
    r.state.SetSortDirection(7);
    EXPECT_EQ(r.state.SortDirection(), 7);  // stored as given
    EXPECT_FALSE(r.state.Descending());
    r.state.ColumnClick(0);  // behaves as sdDown: the click flips to sdUp
    EXPECT_EQ(r.state.SortDirection(), sdUp);
    EXPECT_EQ(r.keys, (std::vector<int>{1, -1}));
}

TEST(SortState, ListWithoutColumnsNeverSorts) {
    Recorder r;
    r.columns = 0;
    r.state.SetSortDirection(sdUp);
    r.state.ColumnClick(0);
    EXPECT_TRUE(r.keys.empty());
}

TEST(SortState, GuardIsClearedWhenTheSortThrows) {
    int columns = 2;
    bool fail = true;
    std::vector<int> keys;
    SortState state{[&] { return columns; },
                    [&](int key) {
                        if (fail) throw std::bad_alloc();
                        keys.push_back(key);
                    }};
    EXPECT_THROW(state.ColumnClick(1), std::bad_alloc);
    EXPECT_FALSE(state.InClick());
    fail = false;
    state.SetSortDirection(sdDown);
    EXPECT_EQ(keys, (std::vector<int>{2}));
}

}  // namespace
}  // namespace telvor
