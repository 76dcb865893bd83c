#include "capi/WaitPriority.h"

#include <array>

namespace telvor {

int WaitPriorityValue(int index) {
    static constexpr std::array<int, 7> kValues{-15, -2, -1, 0, 1, 2, 15};
    if (index < 0 || index >= static_cast<int>(kValues.size())) {
        index = kDefaultWaitPriorityIndex;
    }
    return kValues[static_cast<std::size_t>(index)];
}

}  // namespace telvor
