#pragma once
// CallerConv: the client conversation that carries forwarded calls, in manual connect mode:
// set the link, open it, poke, close it; one conversation at a time. It speaks the DDE
// message protocol itself rather than through DDEML, because DDEML's waits cannot be bounded:
// its connection broadcast waits for every window on the desktop, and closing a link waits
// up to ten seconds more for the goodbye of a client that no longer answers. Here, once a
// client has taken the connection, the poke and the close share one time-out, so a client
// that never answers costs that time-out and no more.
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "netdde/NetworkClients.h"

namespace telvor {

// The time a client has, from the open link, to take a forwarded call and say goodbye.
inline constexpr DWORD kCallPokeTimeoutMs = 10000;
// How long the connection broadcast waits for any one window that does not answer.
inline constexpr DWORD kInitiateTimeoutMs = 1000;

class CallerConv {
  public:
    explicit CallerConv(DWORD pokeTimeoutMs = kCallPokeTimeoutMs);
    ~CallerConv();
    CallerConv(const CallerConv&) = delete;
    CallerConv& operator=(const CallerConv&) = delete;

    // Names the service and topic of the next OpenLink; an open link is closed first.
    void SetLink(const std::string& service, const std::string& topic);
    // One connection attempt. When it fails and `mayStart` is set, starts the program named
    // by the service with the topic as argument and, when that started, attempts once more.
    bool OpenLink(bool mayStart);
    // Pokes CF_TEXT `data` to `item`; true when the server acknowledged it in time.
    bool PokeData(const std::string& item, const std::string& data);
    // Says goodbye and waits for the answer at most until the link's time is up.
    void CloseLink();

  private:
    struct WindowDestroyer {
        void operator()(HWND w) const { DestroyWindow(w); }
    };
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Initiate();
    // Runs this window's DDE messages (and messages sent to the thread) until `done` or the
    // link's deadline; other posted messages wait for the main loop.
    void WaitUntil(const bool& done);

    DWORD pokeTimeoutMs_;
    std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer> window_;
    std::string service_;
    std::string topic_;
    HWND server_ = nullptr;    // the partner of the open link
    bool initiating_ = false;  // the connection broadcast runs
    DWORD opened_ = 0;         // tick count when the link opened
    bool acked_ = false;       // the poke was answered ...
    bool accepted_ = false;    // ... positively
    bool closing_ = false;     // we said goodbye first
    bool terminated_ = false;  // the server said goodbye
};

// The transport of forwarded calls over CallerConv.
class DdeClientConnector final : public ClientConnector {
  public:
    bool PokeClient(const ClientShare& share, const std::string& payload) override;

  private:
    CallerConv conv_;
};

}  // namespace telvor
