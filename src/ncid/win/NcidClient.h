#pragma once
// The NCID client: takes calls from an NCID server on the network (NcidClientSettings: host
// and port) for the monitor's call pipeline.
//
// It runs on a thread of its own, so no call here waits for the network. The protocol is
// NcidClientSession's. When a connection cannot be made, ends, or breaks a bound, the client
// connects again after NcidBackoff's wait (1 s doubling to 60 s, back to 1 s after a
// start-up). Host names are looked up on the thread (getaddrinfo); each address, IPv4 or
// IPv6, is tried in turn.
//
// What happened reaches the owner's window by PostMessage (its thread reads it, never the
// client's):
//   wParam kEventsWaiting      calls or call ends wait: drain them with TakeEvents. Posted
//                              when the queue turns from empty to not empty, so a flood of
//                              lines costs one message, and nothing is lost or leaks when the
//                              window is gone before it reads the message.
//   wParam kConnectionChanged  lParam 1: connected (the start-up has ended), 0: not.
// Use from one thread (the main window's): SetNotify, Start, Stop, TakeEvents. Connected
// may be read from any thread.
#include <windows.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ncid/AddressRules.h"
#include "ncid/ClientSession.h"
#include "ncid/ClientSettings.h"

namespace telvor {

class NcidClient {
  public:
    static constexpr WPARAM kEventsWaiting = 0;
    static constexpr WPARAM kConnectionChanged = 1;
    // Events that wait beyond this (a window that no longer drains) drop the oldest.
    static constexpr std::size_t kMaxWaitingEvents = 1000;

    NcidClient();
    ~NcidClient();  // Stop()
    NcidClient(const NcidClient&) = delete;
    NcidClient& operator=(const NcidClient&) = delete;

    // Set before Start; a null window posts nothing.
    void SetNotify(HWND window, UINT message);

    // Starts the thread that connects to settings.host:settings.port; a running client is
    // stopped first. Returns the empty text on success, otherwise why nothing runs (no host,
    // a port outside 1-65535, Winsock missing). Whether to run at all (settings.UsesNcid)
    // is the caller's decision.
    std::string Start(const NcidClientSettings& settings, const NcidClientLimits& limits = {});
    // Closes the connection and ends the thread; returns at once when not running. Bounded
    // by the thread's longest step that cannot be interrupted: a name lookup in progress.
    void Stop();

    std::vector<NcidClientEvent> TakeEvents();
    bool Running() const;
    bool Connected() const;
    // The address of the server last connected to (kept after the connection ended, so that
    // its calls still in hand are known as its own); nothing before the first connection.
    std::optional<NetAddress> ServerAddress() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace telvor
