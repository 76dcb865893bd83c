// demodrive: moves the running monitor's windows for scripts/demo, from outside, as a user
// would with the mouse: opens the configuration dialog from the icon, turns its pages, selects
// a list's first row, presses buttons and closes windows. Every wait is bounded.
#include <windows.h>
// The common controls need the declarations of windows.h before them.
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/WindowProbe.h"

namespace {

using namespace telvor::test;

constexpr char kUsage[] =
    "usage: demodrive COMMAND\n"
    "  open-config            double-click the icon: the configuration dialog opens\n"
    "  page N                 show page N (0 = the first) of the configuration dialog\n"
    "  first-row              click the first row of the dialog's list in view\n"
    "  press TITLE BUTTON     press the visible button BUTTON (\"&Ja\") of a window TITLE\n"
    "  close TITLE            close every visible window TITLE\n";

constexpr UINT kTrayIconMessage = 0x401;
constexpr char kConfigTitle[] = "Telvor einrichten";

int Fail(const std::string& why) {
    std::fprintf(stderr, "demodrive: %s\n", why.c_str());
    return 1;
}

HWND ConfigDialog() {
    return WaitForVisibleWindow("#32770", kConfigTitle, 10s);
}

int OpenConfig() {
    const HWND main = WaitForTopLevelWindow("TTelvorMainForm", "TelvorServer", 10s);
    if (!main) return Fail("the monitor's main window is not there");
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(main, kTrayIconMessage, 1, WM_LBUTTONDBLCLK, SMTO_NORMAL, 10000,
                             &result))
        return Fail("the monitor does not answer");
    return ConfigDialog() ? 0 : Fail("the configuration dialog did not open");
}

// The tab control turns a page when an arrow key reaches it, telling its dialog as a click
// does; so the page before the wanted one is selected quietly first.
int Page(int index) {
    const HWND dialog = ConfigDialog();
    const auto tabs = dialog ? FindChildByClass(dialog, "SysTabControl32") : std::nullopt;
    if (!tabs) return Fail("no configuration dialog with pages");
    DWORD_PTR result = 0;
    SendMessageTimeoutA(tabs->window, TCM_SETCURSEL, index == 0 ? 1 : index - 1, 0, SMTO_NORMAL,
                        10000, &result);
    PressKeyIn(tabs->window, index == 0 ? VK_LEFT : VK_RIGHT);
    return PollUntil(5s,
                     [&] {
                         return static_cast<int>(SendMessageA(tabs->window, TCM_GETCURSEL, 0, 0)) ==
                                index;
                     })
               ? 0
               : Fail("the page did not turn");
}

int FirstRow() {
    const HWND dialog = ConfigDialog();
    if (!dialog) return Fail("no configuration dialog");
    for (const ChildControl& c : ChildControls(dialog)) {
        if (!c.visible || !IsClass(c.window, "SysListView32")) continue;
        const auto header = reinterpret_cast<HWND>(SendMessageA(c.window, LVM_GETHEADER, 0, 0));
        RECT r{};
        if (header) GetWindowRect(header, &r);
        const LPARAM at = MAKELPARAM(20, (r.bottom - r.top) + 6);
        PostMessageA(c.window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(c.window, WM_LBUTTONUP, 0, at);
        return 0;
    }
    return Fail("no list in view");
}

// Only a visible button: a window may hold hidden ones of the same text.
int Press(const std::string& title, const std::string& text) {
    if (!WaitForWindow({.title = title, .visibleOnly = true}, 10s))
        return Fail("no window \"" + title + "\"");
    for (HWND window : TopLevelWindows({.title = title, .visibleOnly = true})) {
        for (const ChildControl& c : ChildControls(window)) {
            if (c.text != text || !c.visible || !c.enabled || !IsClass(c.window, "Button"))
                continue;
            PostMessageA(GetParent(c.window), WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(c.window));
            return 0;
        }
    }
    return Fail("no button \"" + text + "\" in \"" + title + "\"");
}

int Close(const std::string& title) {
    for (HWND window : TopLevelWindows({.title = title, .visibleOnly = true})) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        WaitForWindowHidden(window, 10s);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "open-config" && argc == 2) return OpenConfig();
    if (command == "page" && argc == 3) return Page(std::atoi(argv[2]));
    if (command == "first-row" && argc == 2) return FirstRow();
    if (command == "press" && argc == 4) return Press(argv[2], argv[3]);
    if (command == "close" && argc == 3) return Close(argv[2]);
    std::fputs(kUsage, stderr);
    return 2;
}
