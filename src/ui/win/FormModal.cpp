// Showing a form: modeless, or modally in a loop of its own; and the keyboard of every form
// through the program's message loop.
#include <algorithm>
#include <vector>

#include "ui/win/Form.h"

namespace telvor {

namespace {

// Every other window of this thread that takes input now, hidden ones included (a hidden
// configuration dialog may be brought up behind the modal form), disabled for the modal
// loop. Disabling only the owner would leave the program's other windows live behind a
// modal form, and a list command there could act on rows the form is editing.
struct EnabledWindows {
    HWND except;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectEnabled(HWND window, LPARAM param) {
    auto& found = *reinterpret_cast<EnabledWindows*>(param);
    if (window != found.except && IsWindowEnabled(window)) found.windows.push_back(window);
    return TRUE;
}

std::vector<HWND> DisableThreadWindows(HWND except) {
    EnabledWindows found{except, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&found));
    for (HWND window : found.windows) EnableWindow(window, FALSE);
    return found.windows;
}

void EnableWindows(const std::vector<HWND>& windows) {
    for (HWND window : windows)
        if (IsWindow(window)) EnableWindow(window, TRUE);
}

}  // namespace

std::vector<Form*>& Form::LiveForms() {
    static std::vector<Form*> forms;
    return forms;
}

void Form::Unlist() {
    auto& live = LiveForms();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void Form::FocusFirst() {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) return;
    if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) SetFocus(first);
}

void Form::Show() {
    if (!hwnd_) return;
    ShowWindow(hwnd_, SW_SHOW);
    FocusFirst();
}

void Form::Hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void Form::Destroy() {
    window_.reset();
}

INT_PTR Form::ShowModal() {
    if (!hwnd_ || modal_) return IDCANCEL;
    modal_ = true;
    modalDone_ = false;
    modalResult_ = IDCANCEL;
    const std::vector<HWND> disabled = DisableThreadWindows(hwnd_);
    Show();
    SetForegroundWindow(hwnd_);
    FocusFirst();
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (!modalDone_ && hwnd_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got == -1) break;
        if (!PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // The others are enabled before this window hides, so that the owner gets the
    // activation back.
    EnableWindows(disabled);
    Hide();
    modal_ = false;
    if (quit) PostQuitMessage(static_cast<int>(quitCode));  // the outer loop must see it
    return modalResult_;
}

void Form::EndModal(INT_PTR result) {
    modalResult_ = result;
    modalDone_ = true;
    if (hwnd_) PostMessageA(hwnd_, WM_NULL, 0, 0);
}

bool Form::PreTranslate(MSG& msg) {
    if (!msg.hwnd) return false;
    const auto& live = LiveForms();
    for (auto it = live.rbegin(); it != live.rend(); ++it) {
        HWND form = (*it)->hwnd_;
        if (form && (msg.hwnd == form || IsChild(form, msg.hwnd)))
            return IsDialogMessageA(form, &msg) != FALSE;
    }
    return false;
}

}  // namespace telvor
