#include "ui/win/AboutBox.h"

namespace telvor {

namespace {

constexpr int kPictureWidth = 400;
constexpr int kPictureHeight = 300;

FormDef AboutBoxDef() {
    FormDef def{.name = "AboutBox", .caption = "1001", .clientWidth = kPictureWidth,
                .clientHeight = kPictureHeight, .dialog = true, .style = WS_POPUP | WS_BORDER,
                .placement = FormPlacement::ScreenCenter};
    def.controls = {
        {.kind = ControlKind::Image, .name = "Image1", .left = 0, .top = 0,
         .width = kPictureWidth, .height = kPictureHeight},
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
    const auto close = [&form](WPARAM, LPARAM) -> LRESULT {
        form.EndModal(IDOK);
        return 0;
    };
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN}) form.OnMessage(message, close);
    form.OnClose([&form] { form.EndModal(IDCANCEL); });
    return box;
}

void TAboutBox::ShowModal() {
    if (OnAboutCommandsEnabled) OnAboutCommandsEnabled(false);
    form_->ShowModal();
    form_->Hide();
    if (OnAboutCommandsEnabled) OnAboutCommandsEnabled(true);
    SetForegroundWindow(GetTopWindow(nullptr));
}

}  // namespace telvor
