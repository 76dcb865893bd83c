#include "ui/win/AboutBox.h"

#include <stdexcept>

#include "ui/win/Resources.h"

namespace telvor {

namespace {

constexpr int kPictureWidth = 400;
constexpr int kPictureHeight = 300;

FormDef AboutBoxDef() {
    // No border and no border icons: the window is exactly the picture.
    FormDef def{.name = "AboutBox",
                .caption = "1001",
                .clientWidth = kPictureWidth,
                .clientHeight = kPictureHeight,
                .dialog = true,
                .style = WS_POPUP,
                .placement = FormPlacement::ScreenCenter};
    def.controls = {
        {.kind = ControlKind::Image,
         .name = "Image1",
         .left = 0,
         .top = 0,
         .width = kPictureWidth,
         .height = kPictureHeight},
    };
    return def;
}

}  // namespace

std::unique_ptr<TAboutBox> TAboutBox::Create(HWND owner, std::string& error) {
    FormResult result = Form::Create(AboutBoxDef(), owner);
    if (!result.form) {
        error = result.error;
        return nullptr;
    }
    auto box = std::unique_ptr<TAboutBox>(new TAboutBox());
    box->form_ = std::move(result.form);
    Form& form = *box->form_;

    box->picture_.reset(
        static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ABOUTBOX),
                                        IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (HWND image = form.Control("Image1"); image && box->picture_) {
        // The image control shows the bitmap at its own size; it lets clicks through to the
        // window (a static without SS_NOTIFY is transparent to the mouse).
        const LONG_PTR style = GetWindowLongPtrA(image, GWL_STYLE);
        SetWindowLongPtrA(image, GWL_STYLE, (style & ~SS_TYPEMASK) | SS_BITMAP);
        SendMessageA(image, STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(box->picture_.get()));
        SetWindowPos(image, nullptr, 0, 0, kPictureWidth, kPictureHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    const auto close = [&form](WPARAM, LPARAM) -> LRESULT {
        form.EndModal(IDOK);
        return 0;
    };
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN})
        form.OnMessage(message, close);
    // Every key, Tab, Enter and Esc included, reaches the window instead of the dialog keys.
    form.OnMessage(WM_GETDLGCODE, [](WPARAM, LPARAM) -> LRESULT {
        return DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTARROWS | DLGC_WANTCHARS;
    });
    // The box has no control to focus: the keys go to the window itself.
    form.OnMessage(WM_ACTIVATE, [&form](WPARAM wp, LPARAM) -> LRESULT {
        if (LOWORD(wp) != WA_INACTIVE) SetFocus(form.Handle());
        return 0;
    });
    form.OnClose([&form] { form.EndModal(IDCANCEL); });
    return box;
}

void TAboutBox::ShowModal() {
    if (!OnAboutCommandsEnabled)
        throw std::logic_error("about box shown without its link 'OnAboutCommandsEnabled'");
    OnAboutCommandsEnabled(false);
    form_->ShowModal();
    form_->Hide();
    OnAboutCommandsEnabled(true);
    SetForegroundWindow(GetTopWindow(nullptr));
}

}  // namespace telvor
