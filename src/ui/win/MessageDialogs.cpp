#include "ui/win/MessageDialogs.h"

#include <algorithm>
#include <string>

#include "base/StringTable.h"
#include "base/win/Handles.h"
#include "ui/win/Form.h"
#include "ui/win/FormFont.h"

namespace telvor {

namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kTextLeft = kMargin + kIconSize + 12;
constexpr int kMaxTextWidth = 360;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 6;

struct KindInfo {
    const char* title;  // string-table ID as text
    LPCSTR icon;
    UINT beep;
};

KindInfo InfoFor(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return {"61560", IDI_WARNING, MB_ICONWARNING};
        case MessageKind::Error:
            return {"61561", IDI_ERROR, MB_ICONERROR};
        case MessageKind::Information:
            return {"61562", IDI_INFORMATION, MB_ICONINFORMATION};
        case MessageKind::Confirmation:
            return {"61563", IDI_QUESTION, MB_ICONQUESTION};
    }
    return {"61561", IDI_ERROR, MB_ICONERROR};
}

SIZE MeasureText(const std::string& text) {
    const WindowDc screen(nullptr);
    const SelectedObject font(screen.get(), FormFont());
    RECT r = {0, 0, kMaxTextWidth, 0};
    DrawTextA(screen.get(), text.empty() ? " " : text.c_str(), -1, &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    return {std::max<LONG>(r.right - r.left, 1), std::max<LONG>(r.bottom - r.top, 13)};
}

FormDef DialogDef(MessageKind kind, const std::string& text) {
    const bool confirm = kind == MessageKind::Confirmation;
    const SIZE textSize = MeasureText(text);
    const int buttons = confirm ? 2 : 1;
    const int buttonsWidth = buttons * kButtonWidth + (buttons - 1) * kButtonGap;
    const int width = std::max(
        {kTextLeft + static_cast<int>(textSize.cx) + kMargin, buttonsWidth + 2 * kMargin, 180});
    const int bodyHeight = std::max(kIconSize, static_cast<int>(textSize.cy));
    const int buttonTop = kMargin + bodyHeight + 16;
    const int height = buttonTop + kButtonHeight + kMargin;
    const int textTop = kMargin + std::max(0, (kIconSize - static_cast<int>(textSize.cy)) / 2);
    const int firstButton = (width - buttonsWidth) / 2;

    FormDef def{"MessageDialog", InfoFor(kind).title};
    def.clientWidth = width;
    def.clientHeight = height;
    def.dialog = true;
    def.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    def.placement = FormPlacement::OwnerCenter;
    def.controls = {
        {.kind = ControlKind::Image,
         .name = "Icon",
         .left = kMargin,
         .top = kMargin,
         .width = kIconSize,
         .height = kIconSize},
        // ID 0 has no text: the message itself is filled in after localisation.
        {.kind = ControlKind::Label,
         .name = "Text",
         .left = kTextLeft,
         .top = textTop,
         .width = static_cast<int>(textSize.cx),
         .height = static_cast<int>(textSize.cy),
         .caption = "0",
         .flags = kNoPrefix | kWordWrap},
    };
    if (confirm) {
        def.controls.push_back({.kind = ControlKind::Button,
                                .name = "Yes",
                                .left = firstButton,
                                .top = buttonTop,
                                .width = kButtonWidth,
                                .height = kButtonHeight,
                                .caption = "61564",
                                .tabOrder = 0,
                                .flags = kDefault});
        def.controls.push_back({.kind = ControlKind::Button,
                                .name = "No",
                                .left = firstButton + kButtonWidth + kButtonGap,
                                .top = buttonTop,
                                .width = kButtonWidth,
                                .height = kButtonHeight,
                                .caption = "61565",
                                .tabOrder = 1,
                                .flags = kCancel});
    } else {
        def.controls.push_back({.kind = ControlKind::Button,
                                .name = "Ok",
                                .left = firstButton,
                                .top = buttonTop,
                                .width = kButtonWidth,
                                .height = kButtonHeight,
                                .caption = "61566",
                                .tabOrder = 0,
                                .flags = kDefault | kCancel});
    }
    return def;
}

// Should the dialog itself be impossible to create, the message still reaches the user.
bool FallbackBox(MessageKind kind, const std::string& text, HWND owner) {
    const KindInfo info = InfoFor(kind);
    const std::string title = LoadStr(static_cast<unsigned>(std::stoul(info.title)));
    const UINT buttons = kind == MessageKind::Confirmation ? MB_YESNO : MB_OK;
    return MessageBoxA(owner, text.c_str(), title.c_str(), buttons | info.beep | MB_TASKMODAL) ==
               IDYES &&
           kind == MessageKind::Confirmation;
}

}  // namespace

bool ShowMessageDialog(MessageKind kind, const std::string& text, HWND owner) {
    FormResult created = Form::Create(DialogDef(kind, text), owner);
    if (!created.form) return FallbackBox(kind, text, owner);
    Form& dialog = *created.form;
    dialog.SetText("Text", text);
    SendMessageA(dialog.Control("Icon"), STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadIconA(nullptr, InfoFor(kind).icon)), 0);
    if (kind == MessageKind::Confirmation) {
        dialog.OnClick("Yes", [&dialog] { dialog.EndModal(IDYES); });
        dialog.OnClick("No", [&dialog] { dialog.EndModal(IDNO); });
    } else {
        dialog.OnClick("Ok", [&dialog] { dialog.EndModal(IDOK); });
    }
    MessageBeep(InfoFor(kind).beep);
    const INT_PTR answer = dialog.ShowModal();
    return kind == MessageKind::Confirmation && answer == IDYES;
}

void ShowCallbackError(const std::string& text) noexcept {
    try {
        ShowError(text, GetActiveWindow());
    } catch (...) {
        // Not even the error dialog could be built (out of memory): the system's box still
        // tells the user that the operation failed.
        MessageBoxA(GetActiveWindow(), text.c_str(), nullptr, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    }
}

}  // namespace telvor
