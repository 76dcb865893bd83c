#pragma once
// What a user reads in one caller window ("Telvor - Anrufer"): its title, the value labels,
// the state of its buttons and where it stands. Read from outside with WM_GETTEXT, by the
// controls' ids, as a screen reader would.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace telvor::e2e {

using namespace std::chrono_literals;

struct CallerWindowView {
    HWND window = nullptr;
    std::string title;
    std::string name;          // NameL
    std::string number;        // CallingL
    std::string hiddenNumber;  // Nummer2 (invisible)
    std::string town;          // TownL
    std::string msn;           // CalledL
    std::string dateTime;      // TimeL: date, two blanks, time
    std::string service;       // ServiceL
    std::string status;        // GetrenntL
    bool rejectEnabled = false;
    bool databaseVisible = false;
    RECT rect{};  // screen coordinates of the whole window
};

// The labels and buttons of a caller window; nothing when `window` is not one.
std::optional<CallerWindowView> ReadCallerWindow(HWND window);

// The control of a caller window by its table position (labels and buttons).
HWND CallerControl(HWND window, const char* name);

// The visible caller windows, ordered by their top coordinate (then left).
std::vector<HWND> CallerWindowsByPosition();

// Waits until at least `count` caller windows are visible; returns them by position (empty
// when they did not appear).
std::vector<HWND> WaitForCallerWindowsByPosition(std::size_t count,
                                                 std::chrono::milliseconds timeout = 20s);

// Polls until the window's title ends with `suffix`; true when it did within `timeout`.
bool WaitForTitleSuffix(HWND window, const std::string& suffix,
                        std::chrono::milliseconds timeout = 20s);

// A visible message dialog (class #32770) of process `pid` other than the caller windows;
// null when there is none.
HWND FindMessageDialogOf(DWORD pid);
// Waits for such a dialog; null when none appeared within `timeout`.
HWND WaitForMessageDialogOf(DWORD pid, std::chrono::milliseconds timeout = 20s);

}  // namespace telvor::e2e
