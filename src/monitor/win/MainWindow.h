#pragma once
// TTelvorMainForm: the monitor's hidden main window. It owns the notification icon and its
// menu, the CAPI component, the caller windows and the area-code list; it answers the control
// messages of a second start and of the activator, and it carries out the effects of the call
// handlers (CallPorts) with real windows, files, the shell and CAPI.
#include <windows.h>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "capi/win/CapiLine.h"
#include "monitor/CallEventQueue.h"
#include "monitor/CallPipeline.h"
#include "monitor/win/TrayIcon.h"
#include "monitor/win/WinClock.h"
#include "ncid/ClientSettings.h"
#include "ncid/win/NcidClient.h"
#include "ncid/win/NcidServer.h"
#include "numbers/Numbers.h"
#include "store/AppSettings.h"
#include "store/CallerIndex.h"
#include "store/win/RegistrySettingsStore.h"
#include "store/win/WinFileAccess.h"

namespace telvor {

class TCallerForm;
class TConfigureForm;
class TAboutBox;
class TEditDbEntry;
class NetworkDistribution;

// Window identity that a second start and the activator look for.
inline constexpr char kMainWindowClass[] = "TTelvorMainForm";
inline constexpr char kMainWindowTitle[] = "TelvorServer";

// Control messages of the main window.
inline constexpr UINT WM_TRAYICON = 0x401;    // the shell: mouse events on the icon
inline constexpr UINT WM_SHOWCONFIG = 0x402;  // a second start of the program
inline constexpr UINT WM_SETDISPLAY = 0x403;  // the activator: wParam 0 off, 1 on

class TTelvorMainForm final : public CallPorts {
  public:
    // Commands of the icon menu `PopupMenu1`, in menu order, with the menu items they stand
    // for: FensterAnzeigen1, AnruferfensterinVordergrundholen1,
    // Anzeigevorbergehendausschalten1, Protokolldateianzeigen1, InfozuTelvor1, Beenden1.
    enum MenuCommand : UINT {
        ShowConfigCommand = 100,
        BringCallersToFrontCommand,
        SuspendDisplayCommand,
        ShowProtocolCommand,
        AboutCommand,
        QuitCommand,
    };

    TTelvorMainForm(HINSTANCE instance, std::vector<std::string> args, std::string exePath);
    ~TTelvorMainForm() override;
    TTelvorMainForm(const TTelvorMainForm&) = delete;
    TTelvorMainForm& operator=(const TTelvorMainForm&) = delete;

    // Creates the hidden window and runs FormCreate. False when the window cannot be made.
    bool Create();
    // The forms created after the main form (configuration dialog, about box, entry dialog).
    void AttachForms(TConfigureForm* configure, TAboutBox* about, TEditDbEntry* entry = nullptr);
    // FormDestroy, then the window goes. Runs once, when the message loop has ended.
    void Destroy();

    HWND Handle() const { return hwnd_; }
    // The application's hook for every queued message (ListEditKeyHook). True: handled.
    bool PreTranslate(MSG& msg);

    // --- CallPorts ---
    CallerWindowId CreateCallerWindow(const CallerLabels& labels) override;
    void StartAutoClose(CallerWindowId window, long long milliseconds) override;
    void ShowCallerWindow(CallerWindowId window, std::int32_t plci) override;
    void DiscardCallerWindow(CallerWindowId window) override;
    void EnableReject(CallerWindowId window, bool enabled) override;
    void MarkCallCleared(CallerWindowId window) override;
    void CloseCallerWindow(CallerWindowId window) override;
    void WriteProtocolLine(std::string_view line) override;
    void StoreCallListEntry(const CallListEntry& entry) override;
    void SetTrayTip(std::string_view tip) override;
    void SetTrayPicture(TrayPicture picture) override;
    void NotifyTray() override;
    void EnableBringToFront(bool enabled) override;
    void ForwardToClients(const ForwardLines& lines) override;
    void AnnounceCall(std::int32_t plci, const NcidCall& call) override;
    void SendDmailMessage(std::string_view text) override;
    void IgnoreCall(std::int32_t plci) override;
    void AlertCall(std::int32_t plci) override;
    void Reinitialise() override;
    void PlaySound(std::string_view path, SoundMode mode) override;
    void StartProgram(std::string_view program, std::string_view parameters) override;

  private:
    // Deferred freeing of a caller window that closed itself from inside its own handler.
    static constexpr UINT WM_FREECALLERFORM = WM_APP + 1;
    // The NCID server's client count changed: wParam is the new count.
    static constexpr UINT WM_NCIDCLIENTS = WM_APP + 3;
    // News of the NCID client (NcidClient's wParam and lParam).
    static constexpr UINT WM_NCIDSOURCE = WM_APP + 4;
    static CallerWindowId IdOf(HWND hwnd) { return reinterpret_cast<CallerWindowId>(hwnd); }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    void FormCreate();
    // FormCreate's steps 12-17: migration, the CAPI options, the settings, the network.
    void LoadStoredData();
    bool FormCloseQuery();
    void FormDestroy();
    // The orderly end's lasting effects: icon removed, settings stored, CAPI released.
    void StoreAndRelease();
    // The NCID server as the settings say: started, moved or stopped. A server that cannot
    // start says why: at once after an apply, from start-up once calls run.
    void ApplyNcidServer();
    // The NCID client as the settings say: connected anew, or stopped.
    void ApplyNcidClient();
    // Calls and call ends from the NCID server, queued as the line's events are.
    void OnNcidSource(WPARAM what, LPARAM connected);
    void NetworkCallEnded(const std::string& line);
    // The NCID server a call came from, which must not hear of it again; nothing for the
    // line's calls.
    std::optional<NetAddress> NetworkOrigin(std::int32_t plci) const;
    // The icon's tip: the last call's text, or that the NCID server is not connected.
    void ShowTrayTip();
    // WM_ENDSESSION: the Windows session ends (log-off, shut-down).
    void EndSession();

    void OnTrayIcon(LPARAM mouseMessage);
    void OnShowConfig();
    void OnSetDisplay(WPARAM state);
    void OnMenuCommand(UINT command);
    // Anzeigevorbergehendausschalten1Click: switches the display of calls off or on.
    void SuspendDisplayClick();
    void ShowConfigureForm();
    void BringCallerWindowsToFront();
    void ShowAboutBox();
    void CloseRequested();

    void OnConnectInd(std::int32_t plci, std::uint16_t cip, const std::string& called,
                      const std::string& calling, const std::string& calledSub,
                      const std::string& callingSub);
    void OnDisconnectInd(std::int32_t plci, std::uint16_t reason);
    void RunEvent(const CallEvent& event);
    CallInputs Inputs();

    void CreateTrayMenu();
    HICON Picture(TrayPicture picture) const;
    TCallerForm* CallerForm(CallerWindowId window) const;
    void CallerFormClosed(CallerWindowId window);

    HINSTANCE instance_;
    std::vector<std::string> args_;
    std::string exePath_;
    HWND hwnd_ = nullptr;
    bool destroyed_ = false;
    // The session ended: the end has been stored and the line released; nothing may
    // register again.
    bool sessionEnded_ = false;

    RegistrySettingsStore store_;
    AppSettings settings_;
    std::string storedVersion_;
    AreaCodeList areaCodes_;
    // The numbers of the caller database, read again whenever the file has changed.
    WinFileAccess files_;
    CallerIndex callers_{files_};
    TrayIcon tray_;
    UniqueMenu trayMenu_;
    UniqueIcon icons_[3];

    std::unique_ptr<TCAPI> capi_;
    WinClock clock_;
    std::unique_ptr<CallHandlers> handlers_;
    // The "Register" server, the client list and its timer: from FormCreate step 15 on.
    std::unique_ptr<NetworkDistribution> network_;
    // The NCID clients on the network, and the lines of the calls they were told of, until
    // each call clears.
    NcidServer ncid_;
    std::map<std::int32_t, std::string> ringingLines_;
    // Calls from an NCID server: where they come from, whether it is connected, the id the
    // next one gets (negative, apart from the line's PLCIs), and those not yet ended, oldest
    // first, with their lines.
    NcidClient ncidClient_;
    NcidClientSettings source_;
    bool sourceConnected_ = false;
    // Why the NCID server did not start, held from start-up until calls run.
    std::string heldNcidError_;
    std::int32_t nextNetworkCall_ = -1;
    std::deque<std::pair<std::int32_t, std::string>> networkCalls_;
    // The last call's tip, shown while the NCID server is connected or not in use.
    std::string callTip_;
    // Every caller window that is alive, listed or not; a closed window is freed from here.
    std::map<CallerWindowId, std::unique_ptr<TCallerForm>> callerForms_;

    CallEventQueue events_;

    TConfigureForm* configure_ = nullptr;
    TAboutBox* about_ = nullptr;
};

}  // namespace telvor
