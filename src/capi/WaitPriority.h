#pragma once
// Priority of the CAPI wait thread, chosen by index (setting "WaitPriority").

namespace telvor {

// The index used for every new wait thread: "lowest".
inline constexpr int kDefaultWaitPriorityIndex = 1;

// The Windows thread priority of index 0..6 (idle, lowest, below normal, normal, above
// normal, highest, time critical: -15, -2, -1, 0, 1, 2, 15). Any other index — a setting
// edited by hand or written by a later version — falls back to index 1.
int WaitPriorityValue(int index);

}  // namespace telvor
