#include "monitor/win/DmailConversation.h"

#include <algorithm>
#include <ddeml.h>
#include <shellapi.h>
#include <utility>

#include "base/win/Handles.h"
#include "monitor/Dmail.h"
#include "ui/win/Form.h"

namespace telvor {

namespace {

constexpr char kService[] = "DMAIL";
constexpr char kTopic[] = "SMS";
constexpr char kItem[] = "SEND";
// The program a failed connection tries to start: the service name with the topic.
constexpr char kServiceCommand[] = "DMAIL SMS";

HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// One dmail conversation attempt after another, as the exchange needs them.
class DmailLink {
  public:
    DmailLink(std::string data, DWORD pokeTimeout)
        : data_(std::move(data)),
          pokeTimeout_(pokeTimeout),
          service_(instance_.get(), kService),
          topic_(instance_.get(), kTopic),
          item_(instance_.get(), kItem) {}

    bool Usable() const { return instance_.get() && service_.get() && topic_.get() && item_.get(); }

    // Opens the link (one connection attempt; after a failure one start of "DMAIL SMS" and,
    // when that started, a second attempt), pokes and closes. Returns true when the link
    // opened; `poked` tells whether dmail pro accepted the data.
    bool TryPoke(bool& poked) {
        HCONV opened = Connect();
        if (!opened && !serviceStartTried_) {
            // Tried once per exchange: a start that worked must not be repeated on every
            // retry while the program is still coming up.
            serviceStartTried_ = true;
            if (WinExec(kServiceCommand, SW_SHOWMINNOACTIVE) > 31) opened = Connect();
        }
        if (!opened) return false;
        const UniqueConversation conv(opened);
        DWORD result = 0;
        HDDEDATA done = DdeClientTransaction(
            reinterpret_cast<LPBYTE>(data_.data()), static_cast<DWORD>(data_.size()), conv.get(),
            item_.get(), CF_TEXT, XTYP_POKE, pokeTimeout_, &result);
        // A server that refuses the data still completes the transaction; only its
        // acknowledgement says the data was taken.
        poked = done != nullptr && (result & DDE_FACK) != 0;
        return true;
    }

  private:
    HCONV Connect() { return DdeConnect(instance_.get(), service_.get(), topic_.get(), nullptr); }

    std::string data_;
    DWORD pokeTimeout_;
    DdeInstance instance_ = DdeInstance::Start(ClientCallback, APPCMD_CLIENTONLY);
    DdeString service_;
    DdeString topic_;
    DdeString item_;
    bool serviceStartTried_ = false;
};

// Starts dmail pro from its configured path, in its own folder, without any error box.
void StartDmailProgram(const std::string& dmPath) {
    const std::string directory = DmailWorkingDirectory(dmPath);
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = dmPath.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = SW_SHOW;
    ShellExecuteExA(&info);
}

// Dispatches what is waiting, without blocking. Returns false when the program is quitting;
// the quit request is put back for the main loop.
bool PumpPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (!Form::PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

}  // namespace

bool SendDmailMessage(std::string_view receiver, std::string_view text, const std::string& dmPath,
                      const DmailTimings& timings) {
    DmailLink link(DmailPokeData(receiver, text), timings.pokeTimeoutMs);
    if (!link.Usable()) return false;
    bool poked = false;
    if (link.TryPoke(poked)) return poked;

    StartDmailProgram(dmPath);
    const DWORD start = GetTickCount();
    for (;;) {
        if (link.TryPoke(poked)) return poked;
        if (!PumpPendingMessages()) return false;
        const DWORD elapsed = GetTickCount() - start;  // unsigned: survives the wrap
        if (elapsed >= timings.startWaitMs) return false;
        const DWORD pause = std::min(timings.retryPauseMs, timings.startWaitMs - elapsed);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pause, QS_ALLINPUT);
    }
}

}  // namespace telvor
