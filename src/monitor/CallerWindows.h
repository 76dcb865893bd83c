#pragma once
// The main window's list of caller windows of pending calls, keyed by the call's PLCI written
// as signed decimal text. The windows themselves belong to the platform layer; the list only
// holds their ids, in the order they were shown.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace telvor {

// An opaque caller-window id: the HWND on Windows, any non-zero number in tests.
using CallerWindowId = std::uintptr_t;

class CallerWindows {
  public:
    struct Entry {
        std::string key;  // the PLCI as signed decimal text
        CallerWindowId window = 0;
    };

    static std::string KeyOf(std::int32_t plci) { return std::to_string(plci); }

    void Append(std::int32_t plci, CallerWindowId window);
    // Removes the first pair whose key is the PLCI's and returns its window.
    std::optional<CallerWindowId> TakeByPlci(std::int32_t plci);
    // Removes the window's pair (a caller window closing itself); false when it was not listed.
    bool RemoveWindow(CallerWindowId window);
    bool Contains(CallerWindowId window) const;

    bool Empty() const { return entries_.empty(); }
    std::size_t Size() const { return entries_.size(); }
    // In list order: the bring-to-front command raises them first to last.
    const std::vector<Entry>& Entries() const { return entries_; }

  private:
    std::vector<Entry> entries_;
};

}  // namespace telvor
