#include "support/WindowProbe.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace telvor::e2e {

namespace {

constexpr auto kPollInterval = 50ms;
constexpr UINT kMessageTimeoutMs = 5000;

// Window class names are case-insensitive ("Button" and "BUTTON" are one class).
bool SameClass(const std::string& a, std::string_view b) {
    return a.size() == b.size() && _strnicmp(a.data(), b.data(), a.size()) == 0;
}

template <typename Predicate>
bool PollUntil(std::chrono::milliseconds timeout, Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPollInterval);
    }
}

struct TopLevelQuery {
    std::string_view className;
    std::string_view title;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    auto& query = *reinterpret_cast<TopLevelQuery*>(param);
    if (!query.className.empty() && !SameClass(WindowClass(window), query.className)) return TRUE;
    if (!query.title.empty() && WindowText(window) != query.title) return TRUE;
    query.found = window;
    return FALSE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    auto& controls = *reinterpret_cast<std::vector<ChildControl>*>(param);
    controls.push_back({window, WindowClass(window), WindowText(window), GetDlgCtrlID(window),
                        IsWindowVisible(window) != FALSE, IsWindowEnabled(window) != FALSE});
    return TRUE;
}

}  // namespace

HWND WaitForTopLevelWindow(std::string_view className, std::string_view title,
                           std::chrono::milliseconds timeout) {
    TopLevelQuery query{className, title};
    PollUntil(timeout, [&] {
        EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
        return query.found != nullptr;
    });
    return query.found;
}

bool WaitForWindowGone(HWND window, std::chrono::milliseconds timeout) {
    return PollUntil(timeout, [&] { return !IsWindow(window); });
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &length)) {
        return {};
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied)) {
        return {};
    }
    text.resize(std::min<std::size_t>(copied, length));
    return text;
}

std::string WindowClass(HWND window) {
    char name[256];
    const int n = GetClassNameA(window, name, sizeof name);
    return n > 0 ? std::string(name, static_cast<std::size_t>(n)) : std::string();
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
        if (SameClass(control.className, className)) return control;
    }
    return std::nullopt;
}

bool PressButton(HWND dialog, std::string_view text) {
    for (const auto& control : ChildControls(dialog)) {
        if (control.text != text || !SameClass(control.className, "Button") || !control.enabled)
            continue;
        return PostMessageA(GetParent(control.window), WM_COMMAND,
                            MAKEWPARAM(control.id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(control.window)) != FALSE;
    }
    return false;
}

}  // namespace telvor::e2e
