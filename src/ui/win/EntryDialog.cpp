#include "ui/win/EntryDialog.h"

namespace telvor {

std::unique_ptr<TEditDbEntry> TEditDbEntry::Create(HWND owner, std::string& error) {
    FormDef def{.name = "EditDbEntry", .caption = "2001", .clientWidth = 380,
                .clientHeight = 250, .dialog = true,
                .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                .placement = FormPlacement::OwnerCenter};
    def.controls = {
        {.kind = ControlKind::Button, .name = "OkB", .left = 212, .top = 216, .width = 75,
         .height = 25, .caption = "2007", .tabOrder = 0, .flags = kDefault},
        {.kind = ControlKind::Button, .name = "AbrechenB", .left = 296, .top = 216,
         .width = 75, .height = 25, .caption = "2008", .tabOrder = 1, .flags = kCancel},
    };
    FormResult result = Form::Create(def, owner);
    if (!result.form) {
        error = result.error;
        return nullptr;
    }
    auto dialog = std::unique_ptr<TEditDbEntry>(new TEditDbEntry());
    dialog->form_ = std::move(result.form);
    return dialog;
}

}  // namespace telvor
