#pragma once
// The sort state of a sortable list: the sorted column, the direction and the two guards that
// make a header click flip the direction while a property set re-sorts without flipping.
#include <functional>

namespace telvor {

// The stored direction byte. Only 1 counts as descending (sdUp); every other value, including
// garbage from edited settings, behaves as sdDown.
constexpr unsigned char sdDown = 0;
constexpr unsigned char sdUp = 1;

class SortState {
  public:
    // `columnCount` tells how many columns the list has now; `sortRows` sorts all rows by the
    // signed key (column index + 1, negated for sdUp).
    SortState(std::function<int()> columnCount, std::function<void(int key)> sortRows);

    int SortedColumn() const { return sortedColumn_; }
    unsigned char SortDirection() const { return direction_; }
    bool Descending() const { return direction_ == sdUp; }
    // The key the rows are sorted by now: never 0.
    int SortKey() const { return Descending() ? -(sortedColumn_ + 1) : sortedColumn_ + 1; }

    // Stores a column within range (a negative one, possible only from edited settings, is
    // ignored like one past the last column) and sorts again without flipping the direction.
    void SetSortedColumn(int column);
    // Stores any byte and sorts again by the sorted column, even when nothing changed.
    void SetSortDirection(unsigned char direction);
    // A header click: the sorted column flips the direction, another column starts ascending.
    void ColumnClick(int column);

    bool InClick() const { return clickGuard_; }
    bool InSetter() const { return setterGuard_; }

  private:
    void SortFromSetter(int column);

    std::function<int()> columnCount_;
    std::function<void(int)> sortRows_;
    int sortedColumn_ = 0;
    unsigned char direction_ = sdDown;
    bool clickGuard_ = false;
    bool setterGuard_ = false;
};

}  // namespace telvor
