#pragma once
// The rules of network distribution, without the transport: registration pokes, the expiry
// tick and the forwarding of a call to every registered client, all subject to the switch
// EnableNetDDE. The Windows layer feeds the pokes and ticks in and carries the pokes out.
#include <functional>
#include <string>
#include <string_view>

#include "netdde/CallForwardPayload.h"
#include "netdde/ClientList.h"
#include "netdde/TimeObj.h"

namespace telvor {

// One client's share, as the transport addresses it.
struct ClientShare {
    std::string service;  // "\\PC2\NDDE$"
    std::string topic;    // "TELVC$"
    std::string item;     // "Call"
    // Whether a failed connection may try to start a program named by the service. Only a
    // plain machine path may: the id comes from the network, and anything else could name a
    // program or carry arguments.
    bool mayStartService = false;
};

ClientShare ShareOf(std::string_view clientId);

// The transport of forwarded calls: one connection attempt (with its start-and-retry), one
// poke, the link closed again. Returns whether the client took the data; an unreachable
// client is not an error.
class ClientConnector {
  public:
    virtual ~ClientConnector() = default;
    virtual bool PokeClient(const ClientShare& share, const std::string& payload) = 0;
};

class NetworkClients {
  public:
    // `enabled` reads EnableNetDDE as the monitor holds it at that moment.
    NetworkClients(std::function<bool()> enabled, MonotonicClock& clock)
        : enabled_(std::move(enabled)), clock_(clock) {}

    // A poke of text to "Register": its first line (re-)registers a client when it is a
    // machine path (IsMachinePath) and the list has room (kMaxClients). Ignored while
    // forwarding is switched off. Returns whether the client is registered now.
    bool RegisterPokeData(std::string_view pokedText);
    // The 90-second tick: registrations older than two minutes go.
    void NDDETimerTimer();
    // Pokes the call to every client registered when the call came, in order. Returns how
    // many took it.
    std::size_t ForwardCall(const ForwardPayloadLines& lines, ClientConnector& connector);

    const ClientList& Clients() const { return clients_; }

  private:
    std::function<bool()> enabled_;
    MonotonicClock& clock_;
    ClientList clients_;
};

}  // namespace telvor
