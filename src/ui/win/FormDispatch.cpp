// A form's messages: its window and dialog procedures, commands and notifications to the
// handlers, Enter and Esc to the default and cancel buttons, closing.
#include <windows.h>
// The common controls need the declarations of windows.h before them.
#include <commctrl.h>

#include "base/win/CallbackGuard.h"
#include "ui/win/Form.h"
#include "ui/win/HelpViewer.h"

namespace telvor {

void Form::HandleCommand(int id, int code) {
    if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL) && !FindById(id)) {
        // Enter without a focused push button, and Esc.
        const int target = id == IDOK ? defaultId_ : cancelId_;
        const ControlInfo* info = target ? FindById(target) : nullptr;
        if (info && IsWindowEnabled(info->hwnd)) HandleCommand(target, BN_CLICKED);
        return;
    }
    const ControlInfo* info = FindById(id);
    if (!info) return;
    const auto it = commands_.find({info->id, static_cast<UINT>(code)});
    if (it == commands_.end()) return;
    const auto handler = it->second;  // the handler may replace itself
    Guarded("form command handler", handler);
}

void Form::RequestClose() {
    if (onClose_) {
        const auto handler = onClose_;
        Guarded("form close handler", handler);
    } else if (cancelId_) {
        HandleCommand(cancelId_, BN_CLICKED);
    } else if (modal_) {
        EndModal(IDCANCEL);
    } else {
        Destroy();
    }
}

// Each handler runs in the guard of its own, so that a failed handler ends only its
// operation: the message is still answered as handled.
bool Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_COMMAND:
            HandleCommand(LOWORD(wp), HIWORD(wp));
            result = 0;
            return true;
        case WM_NOTIFY: {
            NMHDR& hdr = *reinterpret_cast<NMHDR*>(lp);
            bool handled = false;
            const ControlInfo* info = FindByHwnd(hdr.hwndFrom);
            if (hdr.code == static_cast<UINT>(TCN_SELCHANGE) && info &&
                info->kind == ControlKind::PageControl) {
                ShowSelectedSheet(info->hwnd);
                handled = true;
            }
            const auto it = info ? notifies_.find({info->id, hdr.code}) : notifies_.end();
            result = 0;
            if (it != notifies_.end()) {
                const auto handler = it->second;
                Guarded("form notify handler", [&] { result = handler(hdr); });
                handled = true;
            }
            return handled;
        }
        case WM_TIMER: {
            const auto it = timers_.find(wp);
            if (it == timers_.end()) return false;
            const auto handler = it->second;
            Guarded("form timer handler", handler);
            result = 0;
            return true;
        }
        case WM_CLOSE:
            RequestClose();
            result = 0;
            return true;
        case WM_HELP:
            // F1 and the title bar's help button, unless the form answers them itself.
            if (messages_.count(msg)) break;
            Guarded("form help", [&] { ShowHelpFor(hwnd_, *reinterpret_cast<HELPINFO*>(lp)); });
            result = TRUE;
            return true;
        case DM_GETDEFID:
            if (!defaultId_) return false;
            result = MAKELRESULT(defaultId_, DC_HASDEFID);
            return true;
        case WM_ACTIVATE:
            if (dialog_) break;  // the dialog manager keeps the focus of dialogs
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
            } else if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_)) {
                SetFocus(lastFocus_);
            } else {
                FocusFirst();
            }
            result = 0;
            return true;
        case WM_DESTROY:
            if (onDestroy_) {
                const auto handler = onDestroy_;
                Guarded("form destroy handler", handler);
            }
            break;
        case WM_NCDESTROY:
            // The window is gone: nothing is left to destroy.
            window_.release();
            hwnd_ = nullptr;
            modalDone_ = true;
            Unlist();
            return false;
        default:
            break;
    }
    const auto it = messages_.find(msg);
    if (it == messages_.end()) return false;
    const auto handler = it->second;
    result = 0;
    Guarded("form message handler", [&] { result = handler(wp, lp); });
    return true;
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded("form window procedure", LRESULT{0}, [&] {
        Form* self = nullptr;
        if (msg == WM_NCCREATE) {
            self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->window_.reset(hwnd);
            self->hwnd_ = hwnd;
        } else {
            self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        LRESULT result = 0;
        if (self && self->HandleMessage(msg, wp, lp, result)) return result;
        if (msg == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcA(hwnd, msg, wp, lp);
    });
}

INT_PTR CALLBACK Form::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded("form dialog procedure", INT_PTR{FALSE}, [&]() -> INT_PTR {
        if (msg == WM_INITDIALOG) {
            auto* self = reinterpret_cast<Form*>(lp);
            SetWindowLongPtrA(hwnd, DWLP_USER, lp);
            self->window_.reset(hwnd);
            self->hwnd_ = hwnd;
            return FALSE;  // the controls do not exist yet; Show sets the focus
        }
        auto* self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, DWLP_USER));
        if (!self) return FALSE;
        LRESULT result = 0;
        const bool handled = self->HandleMessage(msg, wp, lp, result);
        if (msg == WM_NCDESTROY) SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        if (!handled) return FALSE;
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    });
}

}  // namespace telvor
