#include "support/WindowProbe.h"

#include <algorithm>
#include <cstring>

namespace telvor::test {

namespace {

constexpr UINT kMessageTimeoutMs = 5000;

struct Enumeration {
    const WindowQuery& query;
    bool firstOnly;
    std::vector<HWND> found;
};

bool Matches(HWND window, const WindowQuery& query) {
    if (query.visibleOnly && !IsWindowVisible(window)) return false;
    if (query.process || query.thread) {
        DWORD process = 0;
        const DWORD thread = GetWindowThreadProcessId(window, &process);
        if (query.process && process != query.process) return false;
        if (query.thread && thread != query.thread) return false;
    }
    if (!query.className.empty() && !IsClass(window, query.className)) return false;
    return query.title.empty() || WindowText(window) == query.title;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto& e = *reinterpret_cast<Enumeration*>(param);
    if (!Matches(window, e.query)) return TRUE;
    e.found.push_back(window);
    return e.firstOnly ? FALSE : TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    auto& controls = *reinterpret_cast<std::vector<ChildControl>*>(param);
    controls.push_back({window, WindowClass(window), WindowText(window), GetDlgCtrlID(window),
                        IsWindowVisible(window) != FALSE, IsWindowEnabled(window) != FALSE});
    return TRUE;
}

std::vector<HWND> Enumerate(const WindowQuery& query, bool firstOnly) {
    Enumeration e{query, firstOnly, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&e));
    return e.found;
}

// A window of this process is asked plainly: its thread may not have pumped yet (a dialog is
// visible before its modal loop starts), and Wine takes such a thread for hung. Another
// program is asked with a time-out, so that a hung one fails the test instead of hanging it.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& answered) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    answered = true;
    if (process == GetCurrentProcessId()) return SendMessageA(window, message, wParam, lParam);
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                   kMessageTimeoutMs, &result) != 0;
    return static_cast<LRESULT>(result);
}

}  // namespace

std::string WindowText(HWND window) {
    bool answered = false;
    const LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0, answered);
    if (!answered || length < 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = Ask(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                               reinterpret_cast<LPARAM>(text.data()), answered);
    if (!answered || copied < 0) return {};
    text.resize(std::min(static_cast<std::size_t>(copied), static_cast<std::size_t>(length)));
    return text;
}

std::string WindowClass(HWND window) {
    char name[256];
    const int n = GetClassNameA(window, name, sizeof name);
    return n > 0 ? std::string(name, static_cast<std::size_t>(n)) : std::string();
}

bool IsClass(HWND window, std::string_view className) {
    const std::string actual = WindowClass(window);
    return actual.size() == className.size() &&
           _strnicmp(actual.data(), className.data(), actual.size()) == 0;
}

std::vector<HWND> TopLevelWindows(const WindowQuery& query) {
    return Enumerate(query, false);
}

HWND FindTopLevelWindow(const WindowQuery& query) {
    const std::vector<HWND> found = Enumerate(query, true);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForWindow(const WindowQuery& query, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    PollUntil(timeout, [&] { return (found = FindTopLevelWindow(query)) != nullptr; });
    return found;
}

HWND WaitForTopLevelWindow(std::string_view className, std::string_view title,
                           std::chrono::milliseconds timeout) {
    return WaitForWindow({.className = className, .title = title}, timeout);
}

HWND WaitForVisibleWindow(std::string_view className, std::string_view title,
                          std::chrono::milliseconds timeout) {
    return WaitForWindow({.className = className, .title = title, .visibleOnly = true}, timeout);
}

std::vector<HWND> VisibleWindowsOf(DWORD pid) {
    return TopLevelWindows({.visibleOnly = true, .process = pid});
}

bool AnyVisibleWindowOfThisProcess() {
    return FindTopLevelWindow({.visibleOnly = true, .process = GetCurrentProcessId()}) != nullptr;
}

HWND FindVisibleDialog(DWORD thread, std::string_view title) {
    return FindTopLevelWindow(
        {.className = "#32770", .title = title, .visibleOnly = true, .thread = thread});
}

bool WaitForWindowGone(HWND window, std::chrono::milliseconds timeout) {
    return PollUntil(timeout, [&] { return !IsWindow(window); });
}

bool WaitForWindowHidden(HWND window, std::chrono::milliseconds timeout) {
    return PollUntil(timeout, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

std::vector<ChildControl> ChildControls(HWND parent) {
    std::vector<ChildControl> controls;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

std::optional<ChildControl> FindChildByText(HWND parent, std::string_view text) {
    for (auto& control : ChildControls(parent)) {
        if (control.text == text) return control;
    }
    return std::nullopt;
}

std::optional<ChildControl> FindChildByClass(HWND parent, std::string_view className) {
    for (auto& control : ChildControls(parent)) {
        if (IsClass(control.window, className)) return control;
    }
    return std::nullopt;
}

HWND ButtonWithText(HWND dialog, std::string_view text) {
    for (const auto& control : ChildControls(dialog)) {
        if (control.text == text && IsClass(control.window, "Button")) return control.window;
    }
    return nullptr;
}

bool PressButton(HWND dialog, std::string_view text) {
    for (const auto& control : ChildControls(dialog)) {
        if (control.text != text || !control.enabled || !IsClass(control.window, "Button"))
            continue;
        return PostMessageA(GetParent(control.window), WM_COMMAND,
                            MAKEWPARAM(control.id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(control.window)) != FALSE;
    }
    return false;
}

void ClickInside(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageA(window, WM_LBUTTONUP, 0, centre);
}

void PressKeyIn(HWND window, WORD virtualKey) {
    const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, virtualKey, static_cast<LPARAM>(1 | (scan << 16)));
    PostMessageA(window, WM_KEYUP, virtualKey,
                 static_cast<LPARAM>(1 | (scan << 16) | (1u << 30) | (1u << 31)));
}

}  // namespace telvor::test
