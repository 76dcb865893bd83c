#include "monitor/Cascade.h"

#include <algorithm>

namespace telvor {

WindowPosition CascadeCallerWindow(std::span<const int> listedTops, WindowPosition start,
                                   int captionHeight) {
    if (captionHeight < 1) return start;
    WindowPosition pos = start;
    // Every move raises the top past one listed value, so this ends after at most
    // listedTops.size() moves.
    while (std::find(listedTops.begin(), listedTops.end(), pos.top) != listedTops.end()) {
        pos.left += captionHeight;
        pos.top += captionHeight;
    }
    return pos;
}

}  // namespace telvor
