#include "monitor/CallerWindows.h"

#include <algorithm>

namespace telvor {

void CallerWindows::Append(std::int32_t plci, CallerWindowId window) {
    entries_.push_back({KeyOf(plci), window});
}

std::optional<CallerWindowId> CallerWindows::TakeByPlci(std::int32_t plci) {
    const std::string key = KeyOf(plci);
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.key == key; });
    if (it == entries_.end()) return std::nullopt;
    CallerWindowId window = it->window;
    entries_.erase(it);
    return window;
}

bool CallerWindows::RemoveWindow(CallerWindowId window) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.window == window; });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

bool CallerWindows::Contains(CallerWindowId window) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.window == window; });
}

}  // namespace telvor
