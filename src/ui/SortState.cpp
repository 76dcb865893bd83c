#include "ui/SortState.h"

#include <utility>

namespace telvor {

SortState::SortState(std::function<int()> columnCount, std::function<void(int key)> sortRows)
    : columnCount_(std::move(columnCount)), sortRows_(std::move(sortRows)) {}

void SortState::SetSortedColumn(int column) {
    if (column < 0 || column >= columnCount_()) return;
    sortedColumn_ = column;
    if (!clickGuard_) SortFromSetter(column);
}

void SortState::SetSortDirection(unsigned char direction) {
    direction_ = direction;
    if (!clickGuard_) SortFromSetter(sortedColumn_);
}

void SortState::SortFromSetter(int column) {
    setterGuard_ = true;
    ColumnClick(column);
    setterGuard_ = false;
}

void SortState::ColumnClick(int column) {
    // The key is column + 1, so a column outside the list would index nothing sensible.
    if (column < 0 || column >= columnCount_()) return;
    clickGuard_ = true;
    const int previous = sortedColumn_;
    SetSortedColumn(column);
    if (!setterGuard_) direction_ = (column != previous || Descending()) ? sdDown : sdUp;
    // Cleared even if the sort throws (out of memory), so that later sets still sort.
    struct ClearGuard {
        bool& guard;
        ~ClearGuard() { guard = false; }
    } clear{clickGuard_};
    sortRows_(SortKey());
}

}  // namespace telvor
