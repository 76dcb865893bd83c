#include "ui/win/ConfigDialog.h"

#include <commctrl.h>
#include <stdexcept>
#include <utility>

#include "base/StringTable.h"
#include "store/CallerNumberConversion.h"
#include "ui/win/ConfigDialogLayout.h"
#include "ui/win/ConfigLists.h"
#include "ui/win/MessageDialogs.h"
#include "ui/win/Resources.h"
#include "ui/win/ShellShortcut.h"

namespace telvor {

namespace {

constexpr unsigned kFirstRunInfoId = 20016;
constexpr unsigned kSoundFilterId = 20020;
constexpr unsigned kSoundTitleId = 20022;
constexpr unsigned kFileNotWrittenId = kFileCreateErrorId;  // "Datei %s kann nicht erstellt werden"
constexpr unsigned kStartupShortcutNotChangedId = 20036;

bool IsWindowsNt() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// A dialog wired to nothing would show buttons that silently do nothing: refuse it at once.
void RequireLinks(const TConfigureForm::Links& links) {
    const std::pair<bool, const char*> required[] = {
        {links.settings != nullptr, "settings"},
        {links.store != nullptr, "store"},
        {links.areaCodes != nullptr, "areaCodes"},
        {links.dialogBusy != nullptr, "dialogBusy"},
        {links.about != nullptr, "about"},
        {links.entry != nullptr, "entry"},
        {static_cast<bool>(links.startNetDde), "startNetDde"},
        {static_cast<bool>(links.applyNcidServer), "applyNcidServer"},
        {static_cast<bool>(links.applyNcidClient), "applyNcidClient"},
        {static_cast<bool>(links.showProtocol), "showProtocol"},
        {static_cast<bool>(links.deleteProtocol), "deleteProtocol"},
    };
    for (const auto& [present, name] : required)
        if (!present)
            throw std::logic_error(std::string("configuration dialog attached without link '") +
                                   name + "'");
}

}  // namespace

TConfigureForm::TConfigureForm(Key) {}
TConfigureForm::~TConfigureForm() = default;

std::unique_ptr<TConfigureForm> TConfigureForm::Create(HWND owner, std::string& error) {
    FormResult result = Form::Create(ConfigureFormDef(), owner);
    if (!result.form) {
        error = result.error;
        return nullptr;
    }
    auto dialog = std::make_unique<TConfigureForm>(Key{});
    dialog->form_ = std::move(result.form);
    dialog->form_->SetIconResource(IDI_CONFIGUREFORM);
    dialog->lists_ = std::make_unique<ConfigLists>(*dialog->form_);
    dialog->logonStart_ = std::make_unique<StartupShortcut>(ThisProgram());
    dialog->FormCreate();
    return dialog;
}

// Steps 1-2 (context help and the captions are the form's own); the popup menus, the lists'
// column captions are ConfigLists'; the import dialog takes its texts when it runs.
void TConfigureForm::FormCreate() {
    Form& form = *form_;
    soundDlg_.SetFilter(LoadStr(kSoundFilterId));
    soundDlg_.SetTitle(LoadStr(kSoundTitleId));
    SendMessageA(form.Control("CloseTimeU"), UDM_SETPOS32, 0, 60);
    UDACCEL step{0, kCloseTimeStep};
    SendMessageA(form.Control("CloseTimeU"), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    form.SetText("CloseTimeE", "60");
    EnableCloseOptions(false);
    loadingChecks_ = false;
    WireHandlers();
    WireListHandlers();
    WireNetworkPage();
    form.SetEnabled("UebernehmenB", false);
}

void TConfigureForm::Attach(Links links) {
    RequireLinks(links);
    links_ = std::move(links);
    // 3: the lists' layout as stored.
    ApplyListLayouts(*links_.store);
    // 4: without a notification area the minimised dialog stands in for the icon.
    if (links_.oldWindows) {
        HWND hwnd = form_->Handle();
        SetWindowLongPtrA(hwnd, GWL_STYLE,
                          (GetWindowLongPtrA(hwnd, GWL_STYLE) & ~DS_MODALFRAME) | WS_MINIMIZEBOX);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
        FormShow();
        ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
    }
    // 6 (before the greeting, which waits for the user): forwarding is impossible on NT.
    loadingChecks_ = false;
    if (IsWindowsNt()) {
        links_.settings->enableNetDde = false;
        form_->SetChecked("DoNDDECB", false);
        form_->SetEnabled("DoNDDECB", false);
    }
    // 5: the first start asks for the MSNs.
    if (FirstRun) {
        ShowNonModal();
        ShowAndFocus(kMsnPage, "MSNLV");
        ShowMessageDialog(MessageKind::Information, LoadStr(kFirstRunInfoId), form_->Handle());
    }
}

void TConfigureForm::Detach() {
    links_ = Links{};
}

bool TConfigureForm::Visible() const {
    return IsWindowVisible(form_->Handle()) != FALSE;
}

void TConfigureForm::ShowNonModal() {
    if (!Visible()) FormShow();
    ShowAgain();
    BringWindowToTop(Handle());
}

void TConfigureForm::ShowAndFocus(int page, const char* list) {
    form_->SelectPage("Pages", page);
    SetFocus(form_->Control(list));
}

// Each showing: everything afresh from the store and the files.
void TConfigureForm::FormShow() {
    if (!Attached()) return;
    Form& form = *form_;
    SettingsStore& store = *links_.store;
    // 1
    flow_.Reset();
    lists_->Clear();
    for (const char* box : kServiceBoxes) form.SetChecked(box, false);
    // 2-3: the first showing after an upgrade converts the loaded callers' numbers once (the
    // version is stamped before the lists load, so the chance is taken exactly this once).
    const std::optional<CallerNumberConversion> conversion =
        BeginCallerNumberConversion(store, *links_.areaCodes);
    LoadLists(store);
    if (conversion) lists_->ConvertNames(*conversion);
    // 4-6: the option controls; their change handlers fire and are undone below.
    ConfigOptions options = LoadOptions(store, *links_.settings);
    options.startAtLogon = logonStart_->Enabled();
    LoadOptionPages(options);
    LoadNetworkPage(store);
    // 5
    if (CallRecorded) {
        ShowAndFocus(kCallsPage, "CallsLV");
    } else {
        ShowAndFocus(kNamesPage, "ListViewL");
    }
    form.SelectPage("MSNPages", 0);
    CallRecorded = false;
    form.SetEnabled("UebernehmenB", false);
    // 7
    ApplyListLayouts(store);
}

void TConfigureForm::Changed() {
    form_->SetEnabled("UebernehmenB", true);
}

ConfigContent TConfigureForm::Content() const {
    ConfigContent content = lists_->Content();
    content.options = OptionPages();
    return content;
}

// The apply. A file that could not be written leaves "Ü&bernehmen" enabled (the changes are
// not all stored) and says so; the previous file is still there, whole.
void TConfigureForm::UebernehmenBClick() {
    if (!Attached()) return;
    const ApplyResult result = Apply();
    if (!result.Done()) ReportUnwritten(result);
}

ApplyResult TConfigureForm::Apply() {
    form_->SetEnabled("UebernehmenB", false);
    struct Effects : ApplyEffects {
        explicit Effects(TConfigureForm& f) : form(f) {}
        void StartNetDde() override { form.StartNetDde(); }
        bool SetStartAtLogon(bool wanted) override {
            return telvor::SetStartAtLogon(*form.logonStart_, wanted);
        }
        TConfigureForm& form;
    } effects(*this);
    ApplyResult result;
    try {
        result = ApplyConfiguration(Content(), lists_->Calls(), *links_.store, *links_.settings,
                                    effects);
        ApplyNetworkPage(*links_.store);
        // The page shows what was stored, and its edits report that as typing.
        form_->SetEnabled("UebernehmenB", false);
    } catch (...) {
        form_->SetEnabled("UebernehmenB", true);  // the store's error box follows
        throw;
    }
    if (!result.Done()) form_->SetEnabled("UebernehmenB", true);
    return result;
}

// One message for what was not written: both files when both failed.
void TConfigureForm::ReportUnwritten(const ApplyResult& result) {
    std::string text;
    if (!result.callerFileWritten)
        text = FormatStr(kFileNotWrittenId, {links_.settings->callerFile});
    if (!result.callFileWritten) {
        if (!text.empty()) text += "\n";
        text += FormatStr(kFileNotWrittenId, {links_.settings->callFile});
    }
    if (!result.startAtLogonSet) {
        if (!text.empty()) text += "\n";
        text += FormatStr(kStartupShortcutNotChangedId, {kStartupShortcutName});
    }
    ShowMessageDialog(MessageKind::Error, text, form_->Handle());
}

void TConfigureForm::StartNetDde() {
    links_.startNetDde();
}

// "Ok" hides the dialog, applies and closes it. An apply that fails brings the dialog back
// with its changes still unapplied: closing it would leave them to be thrown away by the next
// showing, unseen.
void TConfigureForm::OkBClick() {
    if (!Attached()) return;
    if (links_.oldWindows)
        ShowWindow(form_->Handle(), SW_MINIMIZE);
    else
        form_->Hide();
    ApplyResult result;
    try {
        result = Apply();
    } catch (...) {
        ShowAgain();
        throw;
    }
    if (!result.Done()) {
        ShowAgain();
        ReportUnwritten(result);
        return;
    }
    FormClose();
}

void TConfigureForm::ShowAgain() {
    form_->Show();
    if (IsIconic(form_->Handle())) ShowWindow(form_->Handle(), SW_RESTORE);
    SetForegroundWindow(form_->Handle());
}

void TConfigureForm::AbbrechenBClick() {
    FormClose();
}

// Closing hides (or minimises, standing in for the icon); nothing stored is discarded.
void TConfigureForm::FormClose() {
    if (form_->PageIndex("Pages") == kCallsPage) CallRecorded = false;
    SaveListViewSettings();
    if (links_.oldWindows)
        ShowWindow(form_->Handle(), SW_MINIMIZE);
    else
        form_->Hide();
    SetForegroundWindow(GetTopWindow(nullptr));
}

void TConfigureForm::PagesChange() {
    // Leaving or entering the call list: its new calls have been seen.
    CallRecorded = false;
}

void TConfigureForm::SaveListViewSettings() {
    if (links_.store) lists_->SaveLayouts(*links_.store);
}

void TConfigureForm::ApplyListLayouts(SettingsStore& store) {
    lists_->ApplyLayouts(store, GetSystemMetrics(SM_CXVSCROLL));
}

void TConfigureForm::LoadLists(SettingsStore& store) {
    lists_->Load(store, *links_.settings);
}

void TConfigureForm::AddCallRow(const CallListEntry& entry) {
    lists_->AddCall(ToCallRow(entry));
}

std::size_t TConfigureForm::CallRowCount() const {
    return lists_->CallCount();
}

std::vector<CallerRow> TConfigureForm::NameRows() const {
    return lists_->Content().callers;
}

void TConfigureForm::AddNameRows(const std::vector<CallerRow>& rows) {
    lists_->AddNames(rows);
    if (!rows.empty()) Changed();
}

bool TConfigureForm::ListEditKeyHook(MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE))
        return false;
    if (GetActiveWindow() != form_->Handle()) return false;
    bool changed = false;
    if (!lists_->EndInPlaceEdit(msg.wParam == VK_ESCAPE, changed)) return false;
    if (changed) Changed();
    return true;
}

}  // namespace telvor

namespace telvor {

bool TConfigureForm::ApplyEnabled() const {
    return IsWindowEnabled(form_->Control("UebernehmenB")) != FALSE;
}

}  // namespace telvor
