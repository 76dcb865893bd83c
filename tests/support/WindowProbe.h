#pragma once
// Looks at windows the way a user or a screen reader does: by class, title, visibility and
// the texts of their controls (WM_GETTEXT), and gives them input as the system would. Shared
// by both Wine tiers: the win tier looks at windows of its own thread, the e2e tier at those
// of the programs under test. Every wait is bounded; messages to another program use a
// time-out so that a hung program fails the test instead of hanging it.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace telvor::test {

using namespace std::chrono_literals;

// Polls `done` until it holds or `timeout` has passed; false when the time ran out.
template <typename Predicate>
bool PollUntil(std::chrono::milliseconds timeout, Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(50ms);
    }
}

// The whole text of a window or control, never cut short; empty when it does not answer.
std::string WindowText(HWND window);
std::string WindowClass(HWND window);
// Window class names ignore case ("Button" and "BUTTON" are one class).
bool IsClass(HWND window, std::string_view className);

// Which top-level windows to look at; an empty or zero field matches any window.
struct WindowQuery {
    std::string_view className{};
    std::string_view title{};
    bool visibleOnly = false;
    DWORD process = 0;
    DWORD thread = 0;
};
// The matching top-level windows, in z-order.
std::vector<HWND> TopLevelWindows(const WindowQuery& query);
HWND FindTopLevelWindow(const WindowQuery& query);
// Polls until a matching window exists; null when none appeared within `timeout`.
HWND WaitForWindow(const WindowQuery& query, std::chrono::milliseconds timeout = 20s);

// Hidden windows included (a monitor keeps its dialogs alive but hidden).
HWND WaitForTopLevelWindow(std::string_view className, std::string_view title,
                           std::chrono::milliseconds timeout = 20s);
HWND WaitForVisibleWindow(std::string_view className, std::string_view title,
                          std::chrono::milliseconds timeout = 20s);
// Visible top-level windows of the process `pid`, in z-order.
std::vector<HWND> VisibleWindowsOf(DWORD pid);
bool AnyVisibleWindowOfThisProcess();
// The first visible dialog (#32770) of `thread`; with a title, only one of that title.
HWND FindVisibleDialog(DWORD thread, std::string_view title = {});

bool WaitForWindowGone(HWND window, std::chrono::milliseconds timeout = 20s);
bool WaitForWindowHidden(HWND window, std::chrono::milliseconds timeout = 20s);

struct ChildControl {
    HWND window;
    std::string className;
    std::string text;
    int id;
    bool visible;
    bool enabled;
};
// All descendants of `parent`, in the system's order (creation order within each level).
std::vector<ChildControl> ChildControls(HWND parent);
// The first descendant with exactly this text (for a button "&Ja", with its ampersand).
std::optional<ChildControl> FindChildByText(HWND parent, std::string_view text);
// The first descendant of this window class, e.g. "Edit", "SysListView32".
std::optional<ChildControl> FindChildByClass(HWND parent, std::string_view className);
// The button of `dialog` with this text, enabled or not; null when there is none.
HWND ButtonWithText(HWND dialog, std::string_view text);

// Presses the enabled button with this text in `dialog`, as a click would: the button's
// parent receives WM_COMMAND/BN_CLICKED. Posted, so a button that opens a modal dialog does
// not block the caller. False when there is no such enabled button.
bool PressButton(HWND dialog, std::string_view text);
// A left click in the middle of `window`'s client area and a key pressed and released in
// `window`, posted as the system delivers them to a window in front (so a modal loop takes
// them). Posted rather than typed: without a window manager the display's focus is not
// reliable enough for real input.
void ClickInside(HWND window);
void PressKeyIn(HWND window, WORD virtualKey);

}  // namespace telvor::test
