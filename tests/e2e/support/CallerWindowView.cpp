#include "support/CallerWindowView.h"

#include <algorithm>
#include <cstring>

#include "support/WindowProbe.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

constexpr char kCallerTitle[] = "Telvor - Anrufer";

// Controls get the ids 1000, 1001, ... in the order of the caller window's control table.
struct NamedId {
    const char* name;
    int id;
};
constexpr NamedId kControls[] = {
    {"Label2", 1000},   {"NameL", 1001},     {"Label4", 1002},    {"CallingL", 1003},
    {"Nummer2", 1004},  {"Label6", 1005},    {"TownL", 1006},     {"Label1", 1007},
    {"CalledL", 1008},  {"Label5", 1009},    {"TimeL", 1010},     {"Label3", 1011},
    {"ServiceL", 1012}, {"GetrenntL", 1013}, {"AbweisenB", 1014}, {"DatenbankB", 1015},
    {"CloseB", 1016},
};

bool IsCallerTitle(const std::string& title) {
    return title.rfind(kCallerTitle, 0) == 0;
}

std::string TextOf(HWND window, const char* name) {
    HWND control = CallerControl(window, name);
    return control ? WindowText(control) : std::string();
}

}  // namespace

HWND CallerControl(HWND window, const char* name) {
    for (const NamedId& c : kControls)
        if (std::strcmp(c.name, name) == 0) return GetDlgItem(window, c.id);
    return nullptr;
}

std::optional<CallerWindowView> ReadCallerWindow(HWND window) {
    CallerWindowView view;
    view.window = window;
    view.title = WindowText(window);
    if (!IsCallerTitle(view.title)) return std::nullopt;
    view.name = TextOf(window, "NameL");
    view.number = TextOf(window, "CallingL");
    view.hiddenNumber = TextOf(window, "Nummer2");
    view.town = TextOf(window, "TownL");
    view.msn = TextOf(window, "CalledL");
    view.dateTime = TextOf(window, "TimeL");
    view.service = TextOf(window, "ServiceL");
    view.status = TextOf(window, "GetrenntL");
    HWND reject = CallerControl(window, "AbweisenB");
    view.rejectEnabled = reject && IsWindowEnabled(reject);
    HWND database = CallerControl(window, "DatenbankB");
    view.databaseVisible = database && IsWindowVisible(database);
    GetWindowRect(window, &view.rect);
    return view;
}

namespace {

// The title as the system keeps it: for another program's window GetWindowText sends no
// message, so a monitor busy in a conversation (the dmail wait) still shows its windows.
std::string StoredTitle(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

}  // namespace

std::vector<HWND> CallerWindowsByPosition() {
    std::vector<HWND> found = TopLevelWindows({.visibleOnly = true});
    std::erase_if(found, [](HWND window) { return !IsCallerTitle(StoredTitle(window)); });
    std::sort(found.begin(), found.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return found;
}

std::vector<HWND> WaitForCallerWindowsByPosition(std::size_t count,
                                                 std::chrono::milliseconds timeout) {
    std::vector<HWND> windows;
    if (PollUntil(timeout, [&] { return (windows = CallerWindowsByPosition()).size() >= count; }))
        return windows;
    return {};
}

bool WaitForTitleSuffix(HWND window, const std::string& suffix, std::chrono::milliseconds timeout) {
    return PollUntil(timeout, [&] {
        const std::string title = WindowText(window);
        return title.size() >= suffix.size() &&
               title.compare(title.size() - suffix.size(), suffix.size(), suffix) == 0;
    });
}

HWND FindMessageDialogOf(DWORD pid) {
    for (HWND dialog :
         TopLevelWindows({.className = "#32770", .visibleOnly = true, .process = pid}))
        if (!IsCallerTitle(WindowText(dialog))) return dialog;
    return nullptr;
}

HWND WaitForMessageDialogOf(DWORD pid, std::chrono::milliseconds timeout) {
    HWND dialog = nullptr;
    PollUntil(timeout, [&] { return (dialog = FindMessageDialogOf(pid)) != nullptr; });
    return dialog;
}

}  // namespace telvor::e2e
