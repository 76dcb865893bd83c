#pragma once
// Looks at the windows of other programs the way a user or a screen reader would: by class,
// title and the texts of their controls (WM_GETTEXT). Every wait is bounded; messages to
// another program use a time-out so that a hung program fails the test instead of hanging it.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvor::e2e {

using namespace std::chrono_literals;

// The top-level window with exactly this class and title (either may be empty for "any"),
// hidden windows included; polls until `timeout`. Null when none appeared.
HWND WaitForTopLevelWindow(std::string_view className, std::string_view title,
                           std::chrono::milliseconds timeout = 20s);

// Polls until `window` no longer exists; true when it went within `timeout`.
bool WaitForWindowGone(HWND window, std::chrono::milliseconds timeout = 20s);

std::string WindowText(HWND window);
std::string WindowClass(HWND window);

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

// Presses the enabled button with this text in `dialog`, as a click would: the button's
// parent receives WM_COMMAND/BN_CLICKED. Posted, so a button that opens a modal dialog does
// not block the test. False when there is no such enabled button.
bool PressButton(HWND dialog, std::string_view text);

}  // namespace telvor::e2e
