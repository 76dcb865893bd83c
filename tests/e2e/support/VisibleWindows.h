#pragma once
// What a user actually sees of a program: its visible top-level windows, and mouse and
// keyboard input aimed at one of them. WindowProbe finds hidden windows too; a monitor keeps
// its dialogs alive but hidden, so "was it shown?" needs the visibility checks here.
#include <windows.h>

#include <chrono>
#include <string_view>
#include <vector>

namespace telvor::e2e {

using namespace std::chrono_literals;

// Visible top-level windows of the process `pid`, in z-order.
std::vector<HWND> VisibleWindowsOf(DWORD pid);

// The visible top-level window with exactly this class and title (either may be empty for
// "any"); polls until `timeout`. Null when none became visible.
HWND WaitForVisibleWindow(std::string_view className, std::string_view title,
                          std::chrono::milliseconds timeout = 20s);

// Polls until `window` is hidden or gone; true when that happened within `timeout`.
bool WaitForWindowHidden(HWND window, std::chrono::milliseconds timeout = 20s);

// The configuration dialog ("Telvor einrichten"), hidden or not; it exists for the whole run
// of a monitor.
HWND ConfigureDialog(std::chrono::milliseconds timeout = 20s);

// A left click in the middle of `window`'s client area, delivered as the system delivers it
// to a window in front (button down, then up; posted, so a modal loop of the program takes
// them). Posted rather than typed: without a window manager the display's focus is not
// reliable enough for real input.
void ClickInside(HWND window);
// A key pressed and released while `window` has the focus, delivered the same way.
void PressKeyIn(HWND window, WORD virtualKey);

}  // namespace telvor::e2e
