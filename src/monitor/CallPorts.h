#pragma once
// The effects of the incoming-call handlers. The main window implements them with real
// windows, the shell, DDE and CAPI; tests implement them with a recorder. Every effect is
// fire-and-forget: the handlers never look at an outcome, so failures stay silent as the
// program's users expect.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "monitor/CallerWindows.h"
#include "monitor/Protocol.h"
#include "ncid/NcidCall.h"
#include "netdde/CallForwardPayload.h"
#include "store/CallListEntry.h"

namespace telvor {

// The texts a caller window shows.
struct CallerLabels {
    std::string number;           // CallingL: "(0711) 123456", the plain number or "unbekannt"
    std::string hiddenNumber;     // Nummer2: "0711 123456", the plain number, or empty
    std::string msn;              // CalledL: "Büro (4711)" or only the called number
    std::string service;          // ServiceL
    std::string name;             // NameL
    std::string dateTime;         // TimeL: date, two blanks, time
    std::string town;             // TownL
    bool databaseButton = false;  // DatenbankB visible
};

enum class TrayPicture {
    Normal,        // the main window's icon
    DisplayOff,    // the configuration dialog's icon: display of calls switched off
    CallerWindow,  // the caller window's icon: a held call is pending
};

// The seven lines forwarded to client machines, in this order.
using ForwardLines = ForwardPayloadLines;

enum class SoundMode { Sync, Async };

class CallPorts {
  public:
    virtual ~CallPorts() = default;

    // --- caller window (AnruferForm) ---
    // Creates the window hidden, placed by the cascade rule, its labels filled. Returns its id.
    virtual CallerWindowId CreateCallerWindow(const CallerLabels& labels) = 0;
    virtual void StartAutoClose(CallerWindowId window, long long milliseconds) = 0;
    // Shows the window, brings it to the foreground, repaints it and stores the PLCI in it.
    virtual void ShowCallerWindow(CallerWindowId window, std::int32_t plci) = 0;
    // Frees a window that was never shown.
    virtual void DiscardCallerWindow(CallerWindowId window) = 0;
    virtual void EnableReject(CallerWindowId window, bool enabled) = 0;
    // Status label 20009 and the title suffix 20010 after the call was cleared.
    virtual void MarkCallCleared(CallerWindowId window) = 0;
    // Closes and frees a window that is no longer listed.
    virtual void CloseCallerWindow(CallerWindowId window) = 0;

    // --- recording ---
    virtual void WriteProtocolLine(std::string_view line) = 0;
    // Sets the call-recorded flag, adds the dialog row and appends the call-list record.
    virtual void StoreCallListEntry(const CallListEntry& entry) = 0;

    // --- notification icon and menu ---
    // Writes the tip into the icon record (at most 63 characters); NotifyTray passes it on.
    virtual void SetTrayTip(std::string_view tip) = 0;
    virtual void SetTrayPicture(TrayPicture picture) = 0;
    // Shell_NotifyIconA(NIM_MODIFY); never called when the program runs without icon.
    virtual void NotifyTray() = 0;
    // The menu command 10301 "Anruferfenster in &Vordergrund".
    virtual void EnableBringToFront(bool enabled) = 0;

    // --- outside programs ---
    virtual void ForwardToClients(const ForwardLines& lines) = 0;
    // The call for the NCID clients on the network (nothing when no server runs); `plci`
    // names it again when the line clears it.
    virtual void AnnounceCall(std::int32_t plci, const NcidCall& call) = 0;
    // The DDE exchange with dmail pro (poke of DmailPokeData, starting it when needed).
    virtual void SendDmailMessage(std::string_view text) = 0;

    // --- CAPI answers for the call ---
    virtual void IgnoreCall(std::int32_t plci) = 0;  // CONNECT_RESP, Reject 1
    virtual void AlertCall(std::int32_t plci) = 0;   // ALERT_REQ
    // Releases and registers again (listen off, CAPI_RELEASE, CAPI_REGISTER, listen on). The
    // new registration may deliver a call before this returns.
    virtual void Reinitialise() = 0;

    // --- caller and MSN actions ---
    // sndPlaySound with SND_NOSTOP and SND_SYNC or SND_ASYNC.
    virtual void PlaySound(std::string_view path, SoundMode mode) = 0;
    // ShellExecute "open", no working directory, SW_SHOWDEFAULT.
    virtual void StartProgram(std::string_view program, std::string_view parameters) = 0;
};

}  // namespace telvor
