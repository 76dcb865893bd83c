#include "ui/win/EntryDialog.h"

#include "base/StringTable.h"
#include "store/AppSettings.h"
#include "store/win/RegistrySettingsStore.h"
#include "ui/EntryRules.h"

namespace telvor {

namespace {

constexpr unsigned kNumberLabelId = 2003;
constexpr unsigned kMsnLabelId = 2010;
constexpr unsigned kFileFilterId = 20019;
constexpr unsigned kFileTitleId = 20023;

}  // namespace

FormDef EntryDialogDef() {
    FormDef def{.name = "EditDbEntry",
                .caption = "2001",
                .clientWidth = 385,
                .clientHeight = 232,
                .dialog = true,
                .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                .exStyle = WS_EX_CONTEXTHELP | WS_EX_DLGMODALFRAME,
                .placement = FormPlacement::OwnerCenter};
    def.controls = {
        {.kind = ControlKind::GroupBox,
         .name = "GroupBox1",
         .left = 8,
         .top = 8,
         .width = 289,
         .height = 217,
         .caption = "2002"},
        {.kind = ControlKind::Label,
         .name = "NummerMSNL",
         .left = 8,
         .top = 20,
         .caption = "2003",
         .parent = "GroupBox1"},
        {.kind = ControlKind::Edit,
         .name = "NummerE",
         .left = 80,
         .top = 16,
         .width = 201,
         .height = 21,
         .helpContext = kCallerEntryHelp.number,
         .tabOrder = 0,
         .parent = "GroupBox1"},
        {.kind = ControlKind::Label,
         .name = "OrtsnetzL",
         .left = 80,
         .top = 48,
         .width = 201,
         .height = 16,
         .caption = "2001",
         .flags = kNoPrefix,
         .parent = "GroupBox1"},
        {.kind = ControlKind::Label,
         .name = "NameL",
         .left = 8,
         .top = 76,
         .caption = "2004",
         .parent = "GroupBox1"},
        {.kind = ControlKind::Edit,
         .name = "NameE",
         .left = 80,
         .top = 72,
         .width = 201,
         .height = 21,
         .helpContext = kCallerEntryHelp.name,
         .tabOrder = 1,
         .parent = "GroupBox1"},
        {.kind = ControlKind::Label,
         .name = "ProgrammL",
         .left = 8,
         .top = 100,
         .width = 73,
         .height = 29,
         .caption = "2005",
         .flags = kWordWrap,
         .parent = "GroupBox1"},
        {.kind = ControlKind::Edit,
         .name = "ProgrammE",
         .left = 80,
         .top = 104,
         .width = 201,
         .height = 21,
         .helpContext = kCallerEntryHelp.program,
         .tabOrder = 2,
         .parent = "GroupBox1"},
        {.kind = ControlKind::Button,
         .name = "BrowseB",
         .left = 192,
         .top = 128,
         .width = 91,
         .height = 25,
         .caption = "2006",
         .helpContext = 11002,
         .tabOrder = 3,
         .parent = "GroupBox1"},
        {.kind = ControlKind::Label,
         .name = "ParameterL",
         .left = 8,
         .top = 160,
         .caption = "2009",
         .parent = "GroupBox1"},
        {.kind = ControlKind::Edit,
         .name = "ParameterE",
         .left = 80,
         .top = 156,
         .width = 201,
         .height = 21,
         .helpContext = 1302,
         .tabOrder = 4,
         .parent = "GroupBox1"},
        {.kind = ControlKind::CheckBox,
         .name = "DMailCB",
         .left = 8,
         .top = 192,
         .width = 273,
         .height = 17,
         .caption = "2011",
         .tabOrder = 5,
         .parent = "GroupBox1"},
        {.kind = ControlKind::Button,
         .name = "OkB",
         .left = 304,
         .top = 16,
         .width = 75,
         .height = 25,
         .caption = "2007",
         .helpContext = 1,
         .tabOrder = 6,
         .flags = kDefault},
        {.kind = ControlKind::Button,
         .name = "AbrechenB",
         .left = 304,
         .top = 56,
         .width = 75,
         .height = 25,
         .caption = "2008",
         .helpContext = 2,
         .tabOrder = 7,
         .flags = kCancel},
    };
    return def;
}

std::unique_ptr<TEditDbEntry> TEditDbEntry::Create(HWND owner, std::string& error) {
    FormResult result = Form::Create(EntryDialogDef(), owner);
    if (!result.form) {
        error = result.error;
        return nullptr;
    }
    auto dialog = std::unique_ptr<TEditDbEntry>(new TEditDbEntry());
    dialog->form_ = std::move(result.form);
    dialog->ownStore_ = std::make_unique<RegistrySettingsStore>();
    dialog->store_ = dialog->ownStore_.get();
    Form& form = *dialog->form_;
    TEditDbEntry* self = dialog.get();
    form.OnChange("NummerE", [self] { self->UpdateTown(); });
    form.OnClick("BrowseB", [self] { self->Browse(); });
    form.OnClick("OkB", [&form] { form.EndModal(IDOK); });
    form.OnClick("AbrechenB", [&form] { form.EndModal(IDCANCEL); });
    dialog->openDlg_.SetFilter(LoadStr(kFileFilterId));
    dialog->openDlg_.SetTitle(LoadStr(kFileTitleId));
    return dialog;
}

void TEditDbEntry::SetTownSources(SettingsStore* store, const AreaCodeList* areaCodes) {
    store_ = store ? store : ownStore_.get();
    areaCodes_ = areaCodes;
}

void TEditDbEntry::UpdateTown() {
    if (mode_ != EntryMode::CallerDatabase) return;
    // Read on every change: an applied change of the prefixes counts at once.
    const std::string national = store_->ReadString(kSettingsSection, "NationalCalls", "0");
    const std::string international =
        store_->ReadString(kSettingsSection, "InternationalCalls", "00");
    form_->SetText("OrtsnetzL", "");
    if (!areaCodes_) return;
    const std::string key = EntryTownKey(form_->Text("NummerE"), national, international);
    form_->SetText("OrtsnetzL", EntryTownText(key, areaCodes_->Lines()));
}

void TEditDbEntry::Browse() {
    const std::string preset = form_->Text("ProgrammE");
    // A cancelled dialog leaves the field as it was.
    if (const auto chosen = openDlg_.Run(form_->Handle(), preset, BrowseFolder(preset)))
        form_->SetText("ProgrammE", *chosen);
}

bool TEditDbEntry::Edit(EntryMode mode, EntryValues& values, int dmailMode) {
    Form& form = *form_;
    mode_ = mode;
    const bool callers = mode == EntryMode::CallerDatabase;
    form.SetText("NummerMSNL", LoadStr(callers ? kNumberLabelId : kMsnLabelId));
    const EntryHelpContexts& help = callers ? kCallerEntryHelp : kMsnEntryHelp;
    SetWindowContextHelpId(form.Control("NummerE"), help.number);
    SetWindowContextHelpId(form.Control("NameE"), help.name);
    SetWindowContextHelpId(form.Control("ProgrammE"), help.program);
    form.SetVisible("OrtsnetzL", callers);
    form.SetText("OrtsnetzL", "");
    form.SetText("NummerE", values.number);  // the lookup runs with the change
    form.SetText("NameE", values.name);
    form.SetText("ProgrammE", values.program);
    form.SetText("ParameterE", values.parameter);
    const DmailBox box = DmailBoxFor(dmailMode, values.dmail);
    form.SetEnabled("DMailCB", box.enabled);
    form.SetChecked("DMailCB", box.checked);
    UpdateTown();
    SetFocus(form.Control("NummerE"));

    const bool ok = form.ShowModal() == IDOK;
    values.dmailEnabled = box.enabled;
    if (ok) {
        values.number = form.Text("NummerE");
        values.name = form.Text("NameE");
        values.program = form.Text("ProgrammE");
        values.parameter = form.Text("ParameterE");
        values.dmail = form.Checked("DMailCB");
    }
    return ok;
}

}  // namespace telvor
