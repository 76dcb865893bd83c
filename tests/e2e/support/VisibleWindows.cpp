#include "support/VisibleWindows.h"

#include <thread>

#include "support/WindowProbe.h"

namespace telvor::e2e {

namespace {

constexpr auto kPollInterval = 50ms;

struct ProcessQuery {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisibleOf(HWND window, LPARAM param) {
    auto& query = *reinterpret_cast<ProcessQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == query.pid && IsWindowVisible(window)) query.found.push_back(window);
    return TRUE;
}

struct VisibleQuery {
    std::string_view className;
    std::string_view title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchVisible(HWND window, LPARAM param) {
    auto& query = *reinterpret_cast<VisibleQuery*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    if (!query.className.empty() &&
        lstrcmpiA(WindowClass(window).c_str(), std::string(query.className).c_str()) != 0)
        return TRUE;
    if (!query.title.empty() && WindowText(window) != query.title) return TRUE;
    query.found = window;
    return FALSE;
}

}  // namespace

std::vector<HWND> VisibleWindowsOf(DWORD pid) {
    ProcessQuery query{pid, {}};
    EnumWindows(CollectVisibleOf, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForVisibleWindow(std::string_view className, std::string_view title,
                          std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        VisibleQuery query{className, title};
        EnumWindows(MatchVisible, reinterpret_cast<LPARAM>(&query));
        if (query.found || std::chrono::steady_clock::now() >= deadline) return query.found;
        std::this_thread::sleep_for(kPollInterval);
    }
}

bool WaitForWindowHidden(HWND window, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (!IsWindow(window) || !IsWindowVisible(window)) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPollInterval);
    }
}

HWND ConfigureDialog(std::chrono::milliseconds timeout) {
    return WaitForTopLevelWindow("#32770", "Telvor einrichten", timeout);
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

}  // namespace telvor::e2e
