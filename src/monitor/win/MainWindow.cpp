#include "monitor/win/MainWindow.h"

#include <exception>

#include "monitor/Protocol.h"
#include "monitor/StartupRules.h"
#include "monitor/win/Actions.h"
#include "monitor/win/CallerWindow.h"
#include "monitor/win/LineMessages.h"
#include "monitor/win/DmailConversation.h"
#include "monitor/win/ProgramFlags.h"
#include "netdde/win/ShareRecordWriter.h"
#include "store/CallList.h"
#include "store/Migration.h"
#include "store/win/SystemDateTimeFormat.h"
#include "ui/FirstRun.h"
#include "base/StringTable.h"
#include "ui/win/AboutBox.h"
#include "ui/win/ConfigDialog.h"
#include "ui/win/LocalizeForm.h"
#include "ui/win/MessageDialogs.h"
#include "ui/win/Resources.h"

namespace telvor {

namespace {

// Deferred freeing of a caller window that closed itself from inside its own handler.
constexpr UINT WM_FREECALLERFORM = WM_APP + 1;
// Runs the call events that arrived while the program was starting.
constexpr UINT WM_RUNPENDINGEVENTS = WM_APP + 2;

CallerWindowId IdOf(HWND hwnd) { return reinterpret_cast<CallerWindowId>(hwnd); }

// Errors of the store and the user-interface library end the current operation with an
// error box; they never cross a window procedure or a CAPI event.
template <class F>
void Guarded(HWND owner, F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        ShowError(e.what(), owner);
    }
}

HICON LoadPictureIcon(HINSTANCE instance, int id) {
    auto icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    return icon ? icon : LoadIconA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */);
}

}  // namespace

TTelvorMainForm::TTelvorMainForm(HINSTANCE instance, std::vector<std::string> args,
                                 std::string exePath)
    : instance_(instance), args_(std::move(args)), exePath_(std::move(exePath)) {}

TTelvorMainForm::~TTelvorMainForm() {
    Destroy();
    if (popupMenu1_) DestroyMenu(popupMenu1_);
    for (HICON icon : icons_)
        if (icon) DestroyIcon(icon);
}

bool TTelvorMainForm::Create() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kMainWindowClass;
    wc.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_MAINFORM));
    if (!RegisterClassExA(&wc)) return false;
    // A hidden top-level window (FindWindow must find it), never shown, no taskbar button.
    hwnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, kMainWindowClass, kMainWindowTitle,
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, nullptr,
                            nullptr, instance_, this);
    if (!hwnd_) return false;
    Guarded(hwnd_, [this] { FormCreate(); });
    return true;
}

void TTelvorMainForm::AttachForms(TConfigureForm* configure, TAboutBox* about) {
    configure_ = configure;
    about_ = about;
    if (!eventsReady_) {
        eventsReady_ = true;
        PostMessageA(hwnd_, WM_RUNPENDINGEVENTS, 0, 0);
    }
    if (about_) {
        about_->OnAboutCommandsEnabled = [this](bool enabled) {
            EnableMenuItem(popupMenu1_, InfozuTelvor1, enabled ? MF_ENABLED : MF_GRAYED);
            if (configure_) configure_->SetInfoEnabled(enabled);
        };
    }
}

void TTelvorMainForm::Destroy() {
    if (destroyed_ || !hwnd_) return;
    destroyed_ = true;
    Guarded(hwnd_, [this] { FormDestroy(); });
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

// --- FormCreate --------------------------------------------------------------------------

void TTelvorMainForm::FormCreate() {
    // 1-3: the window has no taskbar button; DialogBusy; network forwarding stays off until
    // its stored value is read (step 15); the key hook is PreTranslate, run by the loop.
    Program().DialogBusy = false;
    settings_.enableNetDde = false;

    // 4: the CAPI component, registered and listening from here on.
    capi_ = std::make_unique<TCAPI>(hwnd_, CapiFunctions, ReportControllerMissing);
    handlers_ = std::make_unique<CallHandlers>(*this, clock_);
    capi_->OnConnectInd = [this](std::int32_t plci, std::uint16_t cip, const std::string& called,
                                 const std::string& calling, const std::string& calledSub,
                                 const std::string& callingSub) {
        OnConnectInd(plci, cip, called, calling, calledSub, callingSub);
    };
    capi_->OnDisconnectInd = [this](std::int32_t plci, std::uint16_t reason) {
        OnDisconnectInd(plci, reason);
    };

    // 5-6: the caller-window list lives in the call handlers; the NOICON switch.
    Program().NoIcon = HasNoIconSwitch(args_);

    // 7-8: the area codes. An unreadable file leaves the list empty and start-up goes on:
    // a monitor without towns is more use than one without its icon and settings.
    areaCodes_.LoadFromFile(store_.ReadString(kSettingsSection, "Area codes", LoadStr(20029)));

    // 9
    Program().CallsSuspended = false;

    // 10-11: the icon with the last call's text as its tip.
    icons_[0] = LoadPictureIcon(instance_, IDI_MAINFORM);
    icons_[1] = LoadPictureIcon(instance_, IDI_CONFIGUREFORM);
    icons_[2] = LoadPictureIcon(instance_, IDI_CALLERFORM);
    tray_.Init(hwnd_, icons_[0], store_.ReadString(kSettingsSection, "LastCall", "Telvor"));
    if (!Program().NoIcon) tray_.Add();

    // 12: data of earlier versions, from the local machine's tree (legacy paths relative to
    // its root) into the current user's tree and the record files.
    RegistrySettingsStore legacyStore(HKEY_LOCAL_MACHINE, "");
    const MigrationOutcome migrated =
        MigrateLegacyData(store_, legacyStore, {exePath_, SystemDateTimeParser()});
    // 13: the CAPI options, read only at start-up.
    capi_->SetWaitPriority(static_cast<int>(store_.ReadInteger(kSettingsSection, "WaitPriority", 1)));
    capi_->SetController(
        static_cast<std::uint16_t>(store_.ReadInteger(kSettingsSection, "Controller", 1)));
    // 14: the legacy tree goes, except a list whose file could not be written.
    EraseLegacyTree(legacyStore, migrated);

    // 15-16: the remaining options, the stored layout version, the protocol file's name.
    settings_ = ReadAppSettings(store_, exePath_);
    storedVersion_ = store_.ReadString(kSettingsSection, "Version", "no");

    // 16-17: the first-run flag the configuration dialog reads; the network share record
    // unless the stored data is of this version.
    const StartupVersion startupVersion = DecideStartupVersion(storedVersion_);
    FirstRun = startupVersion.firstRun;
    // A refused write shows the store's error box; the menu and the Windows version must
    // still be set up, or the program could not even be ended.
    if (startupVersion.writeShareRecord) Guarded(hwnd_, [] { WriteNetDdeShareRecord(); });

    // 18: the icon menu's texts, and the Windows version.
    CreatePopupMenu1();
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);  // 148
    if (GetVersionExA(&version)) {
        const WindowsVersion v{version.dwMajorVersion, version.dwPlatformId};
        Program().OldWindows = IsOldWindows(v);
        if (!AllowsNetDde(v)) settings_.enableNetDde = false;
    }
}

void TTelvorMainForm::CreatePopupMenu1() {
    struct Item {
        UINT id;
        const char* caption;
    };
    // Captions are string-table IDs; LocalizeMenu turns them into text and "-" into lines.
    const Item items[] = {{FensterAnzeigen1, "10309"},
                          {0, "10302"},
                          {AnruferfensterinVordergrundholen1, "10301"},
                          {Anzeigevorbergehendausschalten1, "10307"},
                          {0, "10302"},
                          {Protokolldateianzeigen1, "10303"},
                          {InfozuTelvor1, "10304"},
                          {0, "10305"},
                          {Beenden1, "10306"}};
    popupMenu1_ = CreatePopupMenu();
    UINT separatorId = 200;
    for (const Item& item : items)
        AppendMenuA(popupMenu1_, MF_STRING, item.id ? item.id : separatorId++, item.caption);
    const LocalizeResult result = LocalizeMenu(popupMenu1_);
    if (!result.ok) throw std::runtime_error(result.error);
    SetMenuDefaultItem(popupMenu1_, FensterAnzeigen1, FALSE);
    EnableMenuItem(popupMenu1_, AnruferfensterinVordergrundholen1, MF_GRAYED);
}

// --- closing -----------------------------------------------------------------------------

bool TTelvorMainForm::FormCloseQuery() {
    if (!configure_ || !configure_->Visible()) return true;
    configure_->SaveListViewSettings();
    if (configure_->ApplyEnabled() && !Program().OldWindows) {
        ShowMessageDialog(MessageKind::Warning, FormatStr(20011, {LoadStr(1)}), hwnd_);
        return false;
    }
    return true;
}

void TTelvorMainForm::CloseRequested() {
    if (FormCloseQuery()) PostQuitMessage(0);
}

void TTelvorMainForm::FormDestroy() {
    // 1-3: the caller windows stay open until the process ends; the lists go with this object.
    // 4
    if (!Program().NoIcon) tray_.Delete();
    // 5: a fresh store operation: the network switch in force and the layout version.
    store_.WriteBool(kSettingsSection, "EnableNetDDE", settings_.enableNetDde);
    store_.WriteString(kSettingsSection, "Version", "2.00");
    // 6: listening off, registration released; the wait thread ends on its own.
    capi_.reset();
    // 7
    SetForegroundWindow(GetTopWindow(nullptr));
}

// --- window messages ---------------------------------------------------------------------

LRESULT CALLBACK TTelvorMainForm::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TTelvorMainForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || self->hwnd_ != hwnd) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT TTelvorMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TRAYICON:
            Guarded(hwnd_, [&] { OnTrayIcon(lParam); });
            return 0;
        case WM_SHOWCONFIG:
            Guarded(hwnd_, [&] { OnShowConfig(); });
            return 0;
        case WM_SETDISPLAY:
            Guarded(hwnd_, [&] { OnSetDisplay(wParam); });
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && lParam == 0) {
                Guarded(hwnd_, [&] { OnMenuCommand(LOWORD(wParam)); });
                return 0;
            }
            break;
        case WM_CLOSE:
            Guarded(hwnd_, [&] { CloseRequested(); });
            return 0;
        case WM_FREECALLERFORM:
            callerForms_.erase(static_cast<CallerWindowId>(wParam));
            return 0;
        case WM_RUNPENDINGEVENTS:
            RunPendingEvents();
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

bool TTelvorMainForm::PreTranslate(MSG& msg) {
    return configure_ && configure_->ListEditKeyHook(msg);
}

void TTelvorMainForm::OnTrayIcon(LPARAM mouseMessage) {
    if (Program().DialogBusy) return;
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        ShowConfigureForm();
    } else if (mouseMessage == WM_RBUTTONUP) {
        POINT cursor{};
        GetCursorPos(&cursor);
        SetForegroundWindow(hwnd_);
        TrackPopupMenu(popupMenu1_, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd_, nullptr);
        // Lets the menu close when the user clicks elsewhere.
        PostMessageA(hwnd_, WM_NULL, 0, 0);
    }
}

void TTelvorMainForm::OnShowConfig() {
    if (!Program().DialogBusy && Program().NoIcon) ShowConfigureForm();
}

void TTelvorMainForm::OnSetDisplay(WPARAM state) {
    const bool suspended = Program().CallsSuspended;
    if ((state == 0 && !suspended) || (state == 1 && suspended)) Anzeigevorbergehendausschalten1Click();
}

void TTelvorMainForm::Anzeigevorbergehendausschalten1Click() {
    const bool suspended = Program().CallsSuspended;
    const std::string caption = LoadStr(suspended ? 10307 : 10308);
    ModifyMenuA(popupMenu1_, Anzeigevorbergehendausschalten1, MF_BYCOMMAND | MF_STRING,
                Anzeigevorbergehendausschalten1, caption.c_str());
    tray_.SetPicture(Picture(suspended ? TrayPicture::Normal : TrayPicture::DisplayOff));
    if (!Program().NoIcon) tray_.Modify();
    Program().CallsSuspended = !suspended;
}

void TTelvorMainForm::OnMenuCommand(UINT command) {
    switch (command) {
        case FensterAnzeigen1: ShowConfigureForm(); break;
        case AnruferfensterinVordergrundholen1: BringCallerWindowsToFront(); break;
        case Anzeigevorbergehendausschalten1: Anzeigevorbergehendausschalten1Click(); break;
        case Protokolldateianzeigen1: ShowProtocol(settings_.logFile, hwnd_); break;
        case InfozuTelvor1: ShowAboutBox(); break;
        case Beenden1: CloseRequested(); break;
        default: break;
    }
}

void TTelvorMainForm::ShowConfigureForm() {
    if (configure_) configure_->ShowNonModal();
}

void TTelvorMainForm::BringCallerWindowsToFront() {
    for (const CallerWindows::Entry& entry : handlers_->Windows().Entries()) {
        const HWND window = reinterpret_cast<HWND>(entry.window);
        ShowWindow(window, SW_SHOW);
        BringWindowToTop(window);
    }
}

void TTelvorMainForm::ShowAboutBox() {
    if (!about_) return;
    DialogBusyScope busy;
    about_->ShowModal();
}

// --- the call events ---------------------------------------------------------------------

CallInputs TTelvorMainForm::Inputs() {
    return CallInputs{store_,  settings_, areaCodes_, settings_.callerFile,
                      Program().CallsSuspended, Program().NoIcon};
}

void TTelvorMainForm::OnConnectInd(std::int32_t plci, std::uint16_t cip, const std::string& called,
                                   const std::string& calling, const std::string& calledSub,
                                   const std::string& callingSub) {
    pendingEvents_.push_back(
        {true, IncomingCall{plci, cip, called, calling, calledSub, callingSub}, 0});
    RunPendingEvents();
}

void TTelvorMainForm::OnDisconnectInd(std::int32_t plci, std::uint16_t reason) {
    PendingEvent event{false, {}, reason};
    event.call.plci = plci;
    pendingEvents_.push_back(std::move(event));
    RunPendingEvents();
}

// In arrival order, one at a time; an event that arrives while one runs (from a new
// registration after a re-initialisation) runs when that one is done.
void TTelvorMainForm::RunPendingEvents() {
    if (!eventsReady_ || runningEvents_ || destroyed_) return;
    runningEvents_ = true;
    while (!pendingEvents_.empty()) {
        PendingEvent event = std::move(pendingEvents_.front());
        pendingEvents_.pop_front();
        if (event.connect) {
            Guarded(hwnd_, [&] { handlers_->CallPipeline(event.call, Inputs()); });
        } else {
            Guarded(hwnd_, [&] {
                handlers_->DisconnectHandler(event.call.plci, event.reason, Inputs());
            });
        }
    }
    runningEvents_ = false;
}

// --- CallPorts: caller windows -----------------------------------------------------------

TCallerForm* TTelvorMainForm::CallerForm(CallerWindowId window) const {
    const auto it = callerForms_.find(window);
    return it == callerForms_.end() ? nullptr : it->second.get();
}

CallerWindowId TTelvorMainForm::CreateCallerWindow(const CallerLabels& labels) {
    std::vector<int> listedTops;
    for (const CallerWindows::Entry& entry : handlers_->Windows().Entries())
        if (TCallerForm* form = CallerForm(entry.window)) listedTops.push_back(form->Top());
    std::unique_ptr<TCallerForm> form = TCallerForm::Create(hwnd_, labels, listedTops);
    if (!form) return 0;
    const CallerWindowId id = IdOf(form->Handle());
    form->OnClosed = [this, id](TCallerForm&) { CallerFormClosed(id); };
    form->OnReject = [this](std::int32_t plci) {
        capi_->ConnectResp(plci, 0);
        capi_->DisconnectReq(plci);
    };
    form->OnDatabase = [this](const std::string& number) {
        if (configure_) configure_->AddNumberToDatabase(number);
    };
    callerForms_[id] = std::move(form);
    return id;
}

void TTelvorMainForm::CallerFormClosed(CallerWindowId window) {
    if (handlers_->Windows().RemoveWindow(window) && handlers_->Windows().Empty())
        EnableBringToFront(false);
    PostMessageA(hwnd_, WM_FREECALLERFORM, static_cast<WPARAM>(window), 0);
}

void TTelvorMainForm::StartAutoClose(CallerWindowId window, long long milliseconds) {
    if (TCallerForm* form = CallerForm(window)) form->StartAutoClose(static_cast<UINT>(milliseconds));
}

void TTelvorMainForm::ShowCallerWindow(CallerWindowId window, std::int32_t plci) {
    if (TCallerForm* form = CallerForm(window)) form->Show(plci);
}

void TTelvorMainForm::DiscardCallerWindow(CallerWindowId window) { callerForms_.erase(window); }

void TTelvorMainForm::EnableReject(CallerWindowId window, bool enabled) {
    if (TCallerForm* form = CallerForm(window)) form->EnableReject(enabled);
}

void TTelvorMainForm::MarkCallCleared(CallerWindowId window) {
    if (TCallerForm* form = CallerForm(window)) form->MarkCallCleared();
}

void TTelvorMainForm::CloseCallerWindow(CallerWindowId window) {
    if (TCallerForm* form = CallerForm(window)) form->Close();
}

// --- CallPorts: recording, icon, outside programs, CAPI ----------------------------------

void TTelvorMainForm::WriteProtocolLine(std::string_view line) {
    telvor::WriteProtocolLine(settings_.logFile, line);
}

void TTelvorMainForm::StoreCallListEntry(const CallListEntry& entry) {
    CallRecorded = true;
    if (configure_) configure_->AddCallRow(entry);
    AppendCall(settings_.callFile, ToCallRecord(entry));
}

void TTelvorMainForm::SetTrayTip(std::string_view tip) { tray_.SetTip(tip); }

HICON TTelvorMainForm::Picture(TrayPicture picture) const {
    switch (picture) {
        case TrayPicture::DisplayOff: return icons_[1];
        case TrayPicture::CallerWindow: return icons_[2];
        case TrayPicture::Normal: break;
    }
    return icons_[0];
}

void TTelvorMainForm::SetTrayPicture(TrayPicture picture) { tray_.SetPicture(Picture(picture)); }

void TTelvorMainForm::NotifyTray() {
    if (!Program().NoIcon) tray_.Modify();
}

void TTelvorMainForm::EnableBringToFront(bool enabled) {
    EnableMenuItem(popupMenu1_, AnruferfensterinVordergrundholen1, enabled ? MF_ENABLED : MF_GRAYED);
}

void TTelvorMainForm::ForwardToClients(const ForwardLines&) {
    // Forwarding to client machines over network DDE hooks in here.
}

void TTelvorMainForm::SendDmailMessage(std::string_view text) {
    telvor::SendDmailMessage(settings_.dmReceiver, text, settings_.dmPath);
}

void TTelvorMainForm::IgnoreCall(std::int32_t plci) { capi_->ConnectResp(plci, 1); }

void TTelvorMainForm::AlertCall(std::int32_t plci) { capi_->AlertReq(plci); }

void TTelvorMainForm::Reinitialise() {
    capi_->Close();
    capi_->Open();
}

void TTelvorMainForm::PlaySound(std::string_view path, SoundMode mode) {
    PlayCallSound(path, mode);
}

void TTelvorMainForm::StartProgram(std::string_view program, std::string_view parameters) {
    StartCallProgram(program, parameters);
}

}  // namespace telvor
