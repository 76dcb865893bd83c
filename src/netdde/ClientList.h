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

    // Drops an earlier registration of the same client and appends (id, now).
    void Register(std::string_view id, MonotonicTime now);
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
