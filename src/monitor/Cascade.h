#pragma once
// Where a new caller window opens so that it does not hide a listed one.
#include <span>

namespace telvor {

struct WindowPosition {
    int left = 0;
    int top = 0;
    bool operator==(const WindowPosition&) const = default;
};

// The designed position of a caller window.
inline constexpr WindowPosition kCallerWindowPosition{189, 174};

// Compares the tops of the listed caller windows (in list order) with the new window's top;
// at the first equal one the new window moves down and right by the title-bar height and the
// comparison starts again. Only the top coordinate counts, so a window moved sideways still
// blocks its row. A caption height below 1 cannot move the window off a blocked row, so the
// start position is kept rather than looping for ever.
WindowPosition CascadeCallerWindow(std::span<const int> listedTops, WindowPosition start,
                                   int captionHeight);

}  // namespace telvor
