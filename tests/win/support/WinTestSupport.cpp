#include "support/WinTestSupport.h"

#include <cstdlib>

#include "ui/win/Form.h"

namespace telvor::wintest {

std::string Text(HWND hwnd) {
    const LRESULT length = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
}

std::string ClassOf(HWND hwnd) {
    char buffer[64] = {};
    GetClassNameA(hwnd, buffer, sizeof buffer);
    return buffer;
}

HWND FindVisibleDialog(DWORD thread, const std::string& title) {
    struct Search {
        const std::string& title;
        HWND found = nullptr;
    } search{title};
    EnumThreadWindows(
        thread,
        [](HWND hwnd, LPARAM out) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(out);
            if (ClassOf(hwnd) == "#32770" && IsWindowVisible(hwnd) &&
                (s.title.empty() || Text(hwnd) == s.title)) {
                s.found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ButtonWithText(HWND dialog, const std::string& text) {
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Button" && Text(c) == text) return c;
    return nullptr;
}

bool AnyVisibleWindowOfThisProcess() {
    bool found = false;
    EnumWindows(
        [](HWND hwnd, LPARAM out) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd)) {
                *reinterpret_cast<bool*>(out) = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (!done()) {
        if (GetTickCount() - start > limitMs) return false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!Form::PreTranslate(msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

namespace {

DialogAnswer* g_answer = nullptr;
UINT_PTR g_answerTimer = 0;

void CALLBACK AnswerTick(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_answer || g_answer->answered) return;
    HWND dialog = FindVisibleDialog(GetCurrentThreadId(), g_answer->title);
    if (!dialog) return;
    g_answer->seenTitle = Text(dialog);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Static" && !Text(c).empty()) g_answer->seenText = Text(c);
    if (HWND button = ButtonWithText(dialog, g_answer->button)) {
        g_answer->answered = true;
        StopAnswering();
        // Posted, not sent: the dialog ends in its own loop, after this tick returned.
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
}

}  // namespace

void AnswerNextDialog(DialogAnswer& answer) {
    StopAnswering();
    g_answer = &answer;
    g_answerTimer = SetTimer(nullptr, 0, 50, AnswerTick);
}

void StopAnswering() {
    if (g_answerTimer) KillTimer(nullptr, g_answerTimer);
    g_answerTimer = 0;
    g_answer = nullptr;
}

std::string CaseDir() {
    const char* dir = std::getenv("TELVOR_CASE_DIR_WIN");
    if (dir && *dir) return dir;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

std::string ProgramDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string s(path);
    return s.substr(0, s.find_last_of("\\/"));
}

}  // namespace telvor::wintest
