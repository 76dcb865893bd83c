#include "ui/win/ConfigDialog.h"

#include "ui/win/Resources.h"

namespace telvor {

namespace {

FormDef ConfigureFormDef() {
    FormDef def{.name = "ConfigureForm", .caption = "1", .left = 200, .top = 120,
                .clientWidth = 446, .clientHeight = 332, .dialog = true,
                .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                .exStyle = WS_EX_CONTEXTHELP, .placement = FormPlacement::ScreenCenter};
    def.controls = {
        {.kind = ControlKind::PageControl, .name = "Pages", .left = 8, .top = 8, .width = 430,
         .height = 284, .tabOrder = 0},
        {.kind = ControlKind::TabSheet, .name = "CallsTab", .caption = "5", .parent = "Pages"},
        {.kind = ControlKind::TabSheet, .name = "NameTab", .caption = "6", .parent = "Pages"},
        {.kind = ControlKind::TabSheet, .name = "MSNTab", .caption = "7", .parent = "Pages"},
        {.kind = ControlKind::TabSheet, .name = "DMailTab", .caption = "59", .parent = "Pages"},
        {.kind = ControlKind::TabSheet, .name = "SonstTab", .caption = "8", .parent = "Pages"},
        {.kind = ControlKind::Button, .name = "OkB", .left = 204, .top = 300, .width = 75,
         .height = 25, .caption = "2", .helpContext = 1, .tabOrder = 1, .flags = kDefault},
        {.kind = ControlKind::Button, .name = "AbbrechenB", .left = 284, .top = 300,
         .width = 75, .height = 25, .caption = "3", .helpContext = 2, .tabOrder = 2,
         .flags = kCancel},
        {.kind = ControlKind::Button, .name = "UebernehmenB", .left = 364, .top = 300,
         .width = 75, .height = 25, .caption = "4", .helpContext = 3, .tabOrder = 3,
         .flags = kDisabled},
    };
    return def;
}

}  // namespace

std::unique_ptr<TConfigureForm> TConfigureForm::Create(HWND owner, std::string& error) {
    FormResult result = Form::Create(ConfigureFormDef(), owner);
    if (!result.form) {
        error = result.error;
        return nullptr;
    }
    auto dialog = std::unique_ptr<TConfigureForm>(new TConfigureForm());
    dialog->form_ = std::move(result.form);
    Form& form = *dialog->form_;
    form.SetIconResource(IDI_CONFIGUREFORM);
    form.OnClick("OkB", [&form] { form.Hide(); });
    form.OnClick("AbbrechenB", [&form] { form.Hide(); });
    form.OnClose([&form] { form.Hide(); });
    return dialog;
}

void TConfigureForm::ShowNonModal() {
    if (CallRecorded) {
        form_->SelectPage("Pages", 0);
        CallRecorded = false;
    } else if (!Visible()) {
        form_->SelectPage("Pages", 1);
    }
    form_->Show();
    BringWindowToTop(Handle());
    SetForegroundWindow(Handle());
}

bool TConfigureForm::Visible() const { return IsWindowVisible(form_->Handle()) != FALSE; }

bool TConfigureForm::ApplyEnabled() const {
    return IsWindowEnabled(form_->Control("UebernehmenB")) != FALSE;
}

void TConfigureForm::SaveListViewSettings() {}

void TConfigureForm::AddCallRow(const CallListEntry& entry) { callRows_.push_back(entry); }

void TConfigureForm::AddNumberToDatabase(const std::string&) { ShowNonModal(); }

bool TConfigureForm::ListEditKeyHook(MSG&) { return false; }

void TConfigureForm::SetInfoEnabled(bool) {}

}  // namespace telvor
