#pragma once
// The NCID server: NCID clients on the network connect to it (TCP, port 3333 by default)
// and get the call log on connecting and a CID line for every call after that.
//
// It runs on a thread of its own, with non-blocking sockets waited on through
// WSAEventSelect, so no call here ever waits for the network: Send only queues a line and
// wakes the thread. The clients' protocol is NcidSession's; the bounds are NcidLimits
// (32 clients, the 33rd closed at once; 1 024-byte lines; 256 KiB unread output; 30 minutes
// without traffic). Addresses the allow rules refuse are closed at once.
//
// Use from one thread (the main window's): Start, Send, SendCallEnd, Stop. ClientCount may
// be read from any thread.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ncid/AddressRules.h"
#include "ncid/NcidCall.h"
#include "ncid/ServerSettings.h"
#include "ncid/Session.h"

namespace telvor {

class NcidServer {
  public:
    // The call log, newest last (e.g. NcidCallLog(LoadCalls(path))). It is called on the
    // server's thread whenever a client's start-up reaches the log, so it must not touch
    // what the main thread owns: reading the call-list file is safe.
    using CallLogSource = std::function<std::vector<NcidCall>()>;

    NcidServer();
    ~NcidServer();  // Stop()
    NcidServer(const NcidServer&) = delete;
    NcidServer& operator=(const NcidServer&) = delete;

    // When the number of clients changes the server posts `message` to `window` with the new
    // count as wParam (PostMessage: the window's thread reads it, never the server's).
    // Set it before Start; a null window posts nothing.
    void SetNotify(HWND window, UINT message);

    // Listens on settings.listen (empty: every IPv4 and IPv6 interface) and settings.port
    // (0: a port the system chooses, see Port) and starts the thread; a running server is
    // stopped first. Returns the empty text on success, otherwise what failed, such as
    // "bind 0.0.0.0:3333: Winsock error 10048"; nothing runs then. Whether to start at all
    // (settings.enabled) is the caller's decision.
    std::string Start(const NcidServerSettings& settings, CallLogSource callLog,
                      const NcidLimits& limits = {});
    // Closes every client (a clean TCP close) and the listening sockets, ends the thread.
    // Returns at once when the server is not running. Also right for program end and
    // WM_ENDSESSION: it waits only for the thread to leave its loop.
    void Stop();

    // A CID line for every client; queued, returns at once. A client at `except` gets none:
    // a call that came from an NCID server never goes back to it, so two monitors that take
    // each other's calls do not send one call round for ever.
    void Send(const NcidCall& call, std::optional<NetAddress> except = {});
    // A CIDINFO line for every client (but one at `except`): the ringing of `line` stopped
    // at "hh:mm:ss".
    void SendCallEnd(std::string_view line, std::string_view timeHhMmSs,
                     std::optional<NetAddress> except = {});

    bool Running() const;
    std::size_t ClientCount() const;
    // The port listened on; 0 when not running.
    int Port() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace telvor
