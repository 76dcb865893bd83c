// Showing a form: modeless, or modally in a loop of its own; and the keyboard of every form
// through the program's message loop.
#include <algorithm>

#include "ui/win/Form.h"

namespace telvor {

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
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
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
    // The owner is enabled before this window hides, so that it gets the activation back.
    if (disableOwner) EnableWindow(owner, TRUE);
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
