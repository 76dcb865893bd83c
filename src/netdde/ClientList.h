#pragma once
// ClientList: the client machines registered for forwarded calls, in registration order.
// A client is named by the first line it poked to "Register" (normally its network path,
// "\\PC2\"); the same name in another letter case is the same client.
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "netdde/TimeObj.h"

namespace telvor {

// How long a registration lasts without being renewed.
inline constexpr MonotonicTime kRegistrationLifetime = std::chrono::minutes(2);

// At most this many clients are registered at once. Forwarding runs on the main thread before
// the line is answered, one client after the other, so this bound is what keeps hosts on the
// LAN from delaying every call without end. What one client can cost, from the time-outs of
// the transport (netdde/win/CallerConv):
//   - the connection broadcast: up to kInitiateTimeoutMs (1 s) for each top-level window that
//     neither answers in time nor counts as hung; a second broadcast when the client's
//     program could be started after the first found nobody;
//   - once a window has taken the link: up to kCallPokeTimeoutMs (10 s) for the poke and the
//     goodbye together.
// With one window that stalls (the network DDE agent relaying to a machine that is gone):
// 2 x 1 s + 10 s = 12 s per client, so 64 x 12 s = 768 s (12 min 48 s) for one call; each
// further stalling window adds 2 s per client. The attempt to start the client's program
// ("\\NAME\NDDE$ TELVC$") has the system look the machine up; that wait is bounded by the
// system's network time-outs, not by ours.
inline constexpr std::size_t kMaxClients = 64;

// The client id a poke carries: its text up to the first line end (CR or LF) or NUL.
std::string FirstLine(std::string_view pokedText);

// Client ids compared without regard to letter case (Windows-1252 letters included).
bool SameClientId(std::string_view a, std::string_view b);

class ClientList {
  public:
    struct Entry {
        std::string id;
        TTimeObj registered;
    };

    // Drops an earlier registration of the same client and appends (id, now). A client not
    // yet registered is refused (false) while kMaxClients are.
    bool Register(std::string_view id, MonotonicTime now);
    // Removes every entry registered more than `lifetime` before `now`, keeping the order of
    // the others. Returns how many went.
    std::size_t RemoveExpired(MonotonicTime now, MonotonicTime lifetime = kRegistrationLifetime);

    const std::vector<Entry>& Entries() const { return entries_; }
    // A copy of the ids in order: forwarding pumps messages, and a poke or a timer tick may
    // change the list meanwhile.
    std::vector<std::string> Ids() const;
    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

  private:
    std::vector<Entry> entries_;
};

}  // namespace telvor
