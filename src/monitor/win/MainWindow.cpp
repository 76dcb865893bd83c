#include "monitor/win/MainWindow.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "base/StringTable.h"
#include "base/Version.h"
#include "base/win/CallbackGuard.h"
#include "monitor/NetworkIncoming.h"
#include "monitor/Protocol.h"
#include "monitor/StartupRules.h"
#include "monitor/Tooltip.h"
#include "monitor/win/Actions.h"
#include "monitor/win/CallerWindow.h"
#include "monitor/win/DmailConversation.h"
#include "monitor/win/LineMessages.h"
#include "monitor/win/ProgramFlags.h"
#include "ncid/CallLog.h"
#include "netdde/win/NetworkDistribution.h"
#include "netdde/win/ShareRecordWriter.h"
#include "store/CallList.h"
#include "store/Migration.h"
#include "store/win/RegistrySectionValues.h"
#include "store/win/SystemDateTimeFormat.h"
#include "ui/FirstRun.h"
#include "ui/win/AboutBox.h"
#include "ui/win/ConfigDialog.h"
#include "ui/win/EntryDialog.h"
#include "ui/win/LocalizeForm.h"
#include "ui/win/MessageDialogs.h"
#include "ui/win/Resources.h"

namespace telvor {

namespace {

constexpr unsigned kLegacyNotErasedId = 20030;
constexpr unsigned kNcidNotStartedId = 20037;
constexpr unsigned kNcidSourceDownId = 20038;

// Network calls kept for their end: an end that never comes must not make the list grow.
constexpr std::size_t kMaxNetworkCalls = 64;

// Runs the call events that arrived while the program was starting.
constexpr UINT WM_RUNPENDINGEVENTS = WM_APP + 2;

UniqueIcon LoadPictureIcon(HINSTANCE instance, int id) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
}

std::optional<WindowsVersion> RunningWindowsVersion() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);  // 148
    if (!GetVersionExA(&version)) return std::nullopt;
    return WindowsVersion{version.dwMajorVersion, version.dwPlatformId};
}

}  // namespace

TTelvorMainForm::TTelvorMainForm(HINSTANCE instance, std::vector<std::string> args,
                                 std::string exePath)
    : instance_(instance),
      args_(std::move(args)),
      exePath_(std::move(exePath)),
      events_([this](const CallEvent& event) { RunEvent(event); }) {}

TTelvorMainForm::~TTelvorMainForm() {
    Destroy();
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
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, nullptr, nullptr,
                            instance_, this);
    if (!hwnd_) return false;
    Guarded("FormCreate", [this] { FormCreate(); });
    return true;
}

void TTelvorMainForm::AttachForms(TConfigureForm* configure, TAboutBox* about,
                                  TEditDbEntry* entry) {
    configure_ = configure;
    about_ = about;
    // The town under a typed number: the area codes loaded at start, the prefixes as stored.
    if (entry) entry->SetTownSources(&store_, &areaCodes_);
    if (configure_) {
        // The dialog edits the settings the call handlers read: an apply is in force at once.
        TConfigureForm::Links links;
        links.settings = &settings_;
        links.store = &store_;
        links.areaCodes = &areaCodes_;
        links.dialogBusy = &Program().DialogBusy;
        links.oldWindows = Program().OldWindows;
        links.about = about_;
        links.entry = entry;
        links.startNetDde = [] { StartNetDdeAgent(); };
        links.applyNcidServer = [this] { Guarded("NCID server", [this] { ApplyNcidServer(); }); };
        links.applyNcidClient = [this] { Guarded("NCID client", [this] { ApplyNcidClient(); }); };
        links.showProtocol = [this](HWND owner) { ShowProtocol(settings_.logFile, owner); };
        links.deleteProtocol = [this](HWND owner) { DeleteProtocol(settings_.logFile, owner); };
        configure_->Attach(std::move(links));
    }
    if (!events_.Ready()) PostMessageA(hwnd_, WM_RUNPENDINGEVENTS, 0, 0);
    if (about_) {
        about_->OnAboutCommandsEnabled = [this](bool enabled) {
            EnableMenuItem(trayMenu_.get(), AboutCommand, enabled ? MF_ENABLED : MF_GRAYED);
            if (configure_) configure_->SetInfoEnabled(enabled);
        };
    }
}

void TTelvorMainForm::Destroy() {
    if (destroyed_ || !hwnd_) return;
    destroyed_ = true;
    events_.Stop();
    Guarded("FormDestroy", [this] { FormDestroy(); });
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

// --- FormCreate --------------------------------------------------------------------------

void TTelvorMainForm::FormCreate() {
    // 1-3: the window has no taskbar button; DialogBusy; network forwarding stays off until
    // its stored value is read (step 15); the key hook is PreTranslate, run by the loop.
    Program().DialogBusy = false;
    settings_.enableNetDde = false;

    // 4: the CAPI component, registered and listening from here on, unless the calls come
    // from an NCID server alone: then there is no line, and nothing to say about one.
    source_ = ReadNcidClientSettings(store_);
    handlers_ = std::make_unique<CallHandlers>(*this, clock_);
    if (source_.UsesCapi()) {
        capi_ = std::make_unique<TCAPI>(hwnd_, CapiFunctions, ReportControllerMissing);
        capi_->OnConnectInd = [this](std::int32_t plci, std::uint16_t cip,
                                     const std::string& called, const std::string& calling,
                                     const std::string& calledSub, const std::string& callingSub) {
            OnConnectInd(plci, cip, called, calling, calledSub, callingSub);
        };
        capi_->OnDisconnectInd = [this](std::int32_t plci, std::uint16_t reason) {
            OnDisconnectInd(plci, reason);
        };
    }

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
    callTip_ = TrayTip(store_.ReadString(kSettingsSection, "LastCall", "Telvor"));
    tray_.Init(hwnd_, Picture(TrayPicture::Normal), callTip_);
    ShowTrayTip();
    if (!Program().NoIcon) tray_.Add();

    // 12-17 read and move stored data: whatever fails there is shown by the store's error
    // box, and the start goes on with step 18, so the icon always offers its menu and the
    // program can at least be ended.
    Guarded("FormCreate", [this] { LoadStoredData(); });

    // 18: the icon menu's texts, and the Windows version.
    CreateTrayMenu();
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);  // 148
    if (GetVersionExA(&version)) {
        const WindowsVersion v{version.dwMajorVersion, version.dwPlatformId};
        Program().OldWindows = IsOldWindows(v);
        if (!AllowsNetDde(v)) settings_.enableNetDde = false;
    }
}

void TTelvorMainForm::LoadStoredData() {
    // 12: data of earlier versions, from the local machine's tree (legacy paths relative to
    // its root) into the current user's tree and the record files.
    RegistrySettingsStore legacyStore(HKEY_LOCAL_MACHINE, "");
    const MigrationOutcome migrated = MigrateLegacyData(
        store_, legacyStore, {exePath_, SystemDateTimeParser(), [](const std::string& section) {
                                  return ReadRegistrySectionValues(HKEY_LOCAL_MACHINE, section);
                              }});
    // 13: the CAPI options, read only at start-up.
    if (capi_) {
        capi_->SetWaitPriority(
            static_cast<int>(store_.ReadInteger(kSettingsSection, "WaitPriority", 1)));
        capi_->SetController(
            static_cast<std::uint16_t>(store_.ReadInteger(kSettingsSection, "Controller", 1)));
    }
    // 14: the legacy tree goes, except a list whose file could not be written.
    // A tree that cannot be erased (no administrator rights) is said once, at the start that
    // took it over; the stored mark keeps it from being copied again.
    if (EraseLegacyTree(legacyStore, migrated).legacyEraseFailed)
        ShowMessageDialog(MessageKind::Warning, LoadStr(kLegacyNotErasedId), hwnd_);

    // 15-16: the remaining options, the stored layout version, the protocol file's name.
    settings_ = ReadAppSettings(store_, exePath_);
    storedVersion_ = store_.ReadString(kSettingsSection, "Version", "no");
    network_ = std::make_unique<NetworkDistribution>(
        exePath_, [this] { return settings_.enableNetDde && !sessionEnded_; });
    if (settings_.enableNetDde) StartNetDdeAgent();
    ApplyNcidServer();
    ApplyNcidClient();

    // 16-17: the first-run flag the configuration dialog reads; the network share record
    // unless the stored data is of this version.
    const StartupVersion startupVersion = DecideStartupVersion(storedVersion_);
    FirstRun = startupVersion.firstRun;
    // A refused write shows the store's error box, except where forwarding is off for the
    // run.
    const std::optional<WindowsVersion> windows = RunningWindowsVersion();
    if (startupVersion.writeShareRecord)
        Guarded("share record", [&] {
            try {
                WriteNetDdeShareRecord();
            } catch (const StoreError&) {
                if (ShowsShareRecordFailure(windows)) throw;
            }
        });
}

void TTelvorMainForm::ApplyNcidServer() {
    const NcidServerSettings wanted = ReadNcidServerSettings(store_);
    ncid_.Stop();
    ringingLines_.clear();
    if (!wanted.enabled || sessionEnded_) return;
    ncid_.SetNotify(hwnd_, WM_NCIDCLIENTS);
    // The log comes from the call list's file, read on the server's thread.
    const std::string error =
        ncid_.Start(wanted, [path = settings_.callFile] { return NcidCallLog(LoadCalls(path)); });
    if (error.empty()) return;
    std::string text = FormatStr(kNcidNotStartedId, {error});
    // At start-up the box waits until calls run: a modal box now would hold back every call
    // until somebody answers it, and a monitor started at logon may wait for hours.
    if (!events_.Ready())
        heldNcidError_ = std::move(text);
    else
        ShowMessageDialog(MessageKind::Error, text, hwnd_);
}

void TTelvorMainForm::ApplyNcidClient() {
    // The line is taken or left at the program's start; the server is met anew now.
    source_ = ReadNcidClientSettings(store_);
    ncidClient_.Stop();
    sourceConnected_ = false;
    if (source_.UsesNcid() && !sessionEnded_) {
        ncidClient_.SetNotify(hwnd_, WM_NCIDSOURCE);
        // The settings were read as valid, so only a system without Winsock fails here, and
        // then the tip keeps saying that no server is connected.
        ncidClient_.Start(source_);
    }
    ShowTrayTip();
    NotifyTray();
}

void TTelvorMainForm::OnNcidSource(WPARAM what, LPARAM connected) {
    if (what == NcidClient::kConnectionChanged) {
        sourceConnected_ = connected != 0;
        ShowTrayTip();
        NotifyTray();
        return;
    }
    for (NcidClientEvent& event : ncidClient_.TakeEvents()) {
        if (event.kind == NcidClientEvent::Kind::CallEnd) {
            NetworkCallEnded(event.line);
            continue;
        }
        const std::int32_t id = nextNetworkCall_;
        nextNetworkCall_ = id == INT32_MIN ? -1 : id - 1;
        IncomingCall call = NetworkIncomingCall(event.call, id, store_);
        if (const auto minute = NcidCallMinute(event.call.date, event.call.time)) {
            SYSTEMTIME when{};
            when.wYear = static_cast<WORD>(minute->year);
            when.wMonth = static_cast<WORD>(minute->month);
            when.wDay = static_cast<WORD>(minute->day);
            when.wHour = static_cast<WORD>(minute->hour);
            when.wMinute = static_cast<WORD>(minute->minute);
            // The round trip fills in the day of the week, which a long date format shows.
            FILETIME file{};
            if (SystemTimeToFileTime(&when, &file) && FileTimeToSystemTime(&file, &when))
                call.time = ClockReadingOf(when);
        }
        networkCalls_.emplace_back(id, event.call.line);
        if (networkCalls_.size() > kMaxNetworkCalls) {
            ringingLines_.erase(networkCalls_.front().first);
            networkCalls_.pop_front();
        }
        events_.Push({true, std::move(call), 0});
    }
}

// The server names only the line: the end belongs to the oldest call on it not yet ended.
void TTelvorMainForm::NetworkCallEnded(const std::string& line) {
    const auto call = std::find_if(networkCalls_.begin(), networkCalls_.end(),
                                   [&](const auto& c) { return line.empty() || c.second == line; });
    if (call == networkCalls_.end()) return;
    CallEvent event{false, {}, 0};
    event.call.plci = call->first;
    event.call.origin = CallOrigin::Network;
    networkCalls_.erase(call);
    events_.Push(std::move(event));
}

std::optional<NetAddress> TTelvorMainForm::NetworkOrigin(std::int32_t plci) const {
    if (plci >= 0) return std::nullopt;  // the line's PLCIs are never negative
    return ncidClient_.ServerAddress();
}

void TTelvorMainForm::ShowTrayTip() {
    const bool sourceDown = source_.source != CallsFrom::Capi && !sourceConnected_;
    tray_.SetTip(sourceDown ? LoadStr(kNcidSourceDownId) : callTip_);
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
    // 1-2: the caller windows stay open until the process ends; the lists go with this object.
    // 3-6, unless the end of the session has done them already.
    if (!sessionEnded_) StoreAndRelease();
    network_.reset();
    capi_.reset();
    // 7
    if (!sessionEnded_) SetForegroundWindow(GetTopWindow(nullptr));
}

void TTelvorMainForm::StoreAndRelease() {
    // 3: no more forwarding (the network's switch reads sessionEnded_). The object itself goes
    // in FormDestroy, after the message loop: the session may end from inside a forward's wait,
    // which still uses it, and DDEML's clean-up runs message loops of its own that must not
    // run between the quit request and the main loop.
    // Every NCID client is closed cleanly, also when the session ends.
    ncid_.Stop();
    ncidClient_.Stop();
    // 4
    if (!Program().NoIcon) tray_.Delete();
    // 5: a fresh store operation: the network switch in force and the layout version.
    store_.WriteBool(kSettingsSection, "EnableNetDDE", settings_.enableNetDde);
    store_.WriteString(kSettingsSection, "Version", TELVOR_VERSION_TEXT);
    // 6: listening off, registration released; the wait thread ends on its own. The component
    // itself stays until the window goes: a call handler may still be running below us.
    if (capi_) capi_->Close();
}

// Windows may end the process as soon as WM_ENDSESSION has been answered, so everything an
// orderly end leaves behind happens here and now. Nobody is there to answer a question, so
// unapplied changes in the configuration dialog are dropped, as its cancel button would drop
// them: storing half-edited lists unasked could keep what the user never meant to keep. Only
// the components are left standing, since this may run inside a call handler's message loop;
// the quit request ends the program in the usual way should Windows let it live on.
void TTelvorMainForm::EndSession() {
    if (sessionEnded_ || destroyed_) return;
    sessionEnded_ = true;
    if (configure_ && configure_->Visible()) {
        configure_->SaveListViewSettings();
        configure_->GetForm().Hide();
    }
    StoreAndRelease();
    PostQuitMessage(0);
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
            Guarded("tray icon", [&] { OnTrayIcon(lParam); });
            return 0;
        case WM_SHOWCONFIG:
            Guarded("second start", [&] { OnShowConfig(); });
            return 0;
        case WM_SETDISPLAY:
            Guarded("display switch", [&] { OnSetDisplay(wParam); });
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && lParam == 0) {
                Guarded("icon menu", [&] { OnMenuCommand(LOWORD(wParam)); });
                return 0;
            }
            break;
        case WM_CLOSE:
            Guarded("close", [&] { CloseRequested(); });
            return 0;
        case WM_QUERYENDSESSION:
            // Never holds up the end of the session: there is nothing to ask the user.
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) Guarded("end of session", [&] { EndSession(); });
            return 0;
        case WM_FREECALLERFORM:
            callerForms_.erase(static_cast<CallerWindowId>(wParam));
            return 0;
        case WM_RUNPENDINGEVENTS:
            events_.SetReady();
            if (!heldNcidError_.empty())
                ShowMessageDialog(MessageKind::Error, std::exchange(heldNcidError_, {}), hwnd_);
            return 0;
        case WM_NCIDSOURCE:
            Guarded("NCID client", [&] { OnNcidSource(wParam, lParam); });
            return 0;
        case WM_NCIDCLIENTS:
            if (configure_) configure_->SetNcidClientCount(static_cast<std::size_t>(wParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

bool TTelvorMainForm::PreTranslate(MSG& msg) {
    return configure_ && configure_->ListEditKeyHook(msg);
}

// --- the call events ---------------------------------------------------------------------

CallInputs TTelvorMainForm::Inputs() {
    return CallInputs{store_,          settings_,
                      areaCodes_,      settings_.callerFile,
                      callers_,        Program().CallsSuspended,
                      Program().NoIcon};
}

void TTelvorMainForm::OnConnectInd(std::int32_t plci, std::uint16_t cip, const std::string& called,
                                   const std::string& calling, const std::string& calledSub,
                                   const std::string& callingSub) {
    IncomingCall call;
    call.plci = plci;
    call.cipValue = cip;
    call.calledNumber = called;
    call.callingNumber = calling;
    call.calledSubaddress = calledSub;
    call.callingSubaddress = callingSub;
    events_.Push({true, std::move(call), 0});
}

void TTelvorMainForm::OnDisconnectInd(std::int32_t plci, std::uint16_t reason) {
    CallEvent event{false, {}, reason};
    event.call.plci = plci;
    events_.Push(std::move(event));
}

void TTelvorMainForm::RunEvent(const CallEvent& event) {
    // The NCID clients hear that a call they were told of stopped ringing.
    if (!event.connect) {
        const auto ringing = ringingLines_.find(event.call.plci);
        if (ringing != ringingLines_.end()) {
            ncid_.SendCallEnd(ringing->second,
                              NcidDateTimeOf(clock_.Now().dayCount).timeWithSeconds,
                              NetworkOrigin(event.call.plci));
            ringingLines_.erase(ringing);
        }
    }
    if (event.connect) {
        Guarded("OnConnectInd", [&] { handlers_->CallPipeline(event.call, Inputs()); });
    } else {
        Guarded("OnDisconnectInd",
                [&] { handlers_->DisconnectHandler(event.call.plci, event.reason, Inputs()); });
    }
}

}  // namespace telvor
