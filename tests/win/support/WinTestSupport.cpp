#include "support/WinTestSupport.h"

#include "ui/win/Form.h"

namespace telvor::wintest {

FormDef BlankForm(const char* name, const char* caption, int clientWidth, int clientHeight,
                  bool dialog) {
    FormDef def{name, caption};
    def.clientWidth = clientWidth;
    def.clientHeight = clientHeight;
    def.dialog = dialog;
    return def;
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

using test::ButtonWithText;
using test::FindVisibleDialog;
using test::WindowClass;
using test::WindowText;

DialogAnswer* g_answer = nullptr;
UINT_PTR g_answerTimer = 0;

void CALLBACK AnswerTick(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_answer || g_answer->answered) return;
    HWND dialog = FindVisibleDialog(GetCurrentThreadId(), g_answer->title);
    if (!dialog) return;
    g_answer->seenTitle = WindowText(dialog);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (WindowClass(c) == "Static" && !WindowText(c).empty())
            g_answer->seenText = WindowText(c);
    if (HWND list = g_answer->listId ? GetDlgItem(dialog, g_answer->listId) : nullptr) {
        const auto count = SendMessageA(list, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::string item(static_cast<std::size_t>(SendMessageA(list, CB_GETLBTEXTLEN, i, 0)),
                             '\0');
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            g_answer->seenList.push_back(item.c_str());
        }
    }
    if (HWND button = ButtonWithText(dialog, g_answer->button)) {
        if (g_answer->beforeAnswer) g_answer->beforeAnswer(dialog);
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

}  // namespace telvor::wintest
