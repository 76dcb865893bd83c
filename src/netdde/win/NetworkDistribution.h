#pragma once
// Network distribution as the monitor runs it: the "Register" server, the client list with
// its 90-second expiry timer, and the forwarding of calls over CallerConv. Created once the
// settings are read, freed with the main window; `enabled` reads EnableNetDDE live.
#include <functional>
#include <string>

#include "netdde/NetworkClients.h"
#include "netdde/TimeObj.h"
#include "netdde/win/CallerConv.h"
#include "netdde/win/NDDETimer.h"
#include "netdde/win/RegisterServer.h"

namespace telvor {

class NetworkDistribution {
  public:
    NetworkDistribution(const std::string& exePath, std::function<bool()> enabled);
    NetworkDistribution(const NetworkDistribution&) = delete;
    NetworkDistribution& operator=(const NetworkDistribution&) = delete;

    // Pokes the call's seven lines to every registered client (nothing while switched off).
    void ForwardToClients(const ForwardPayloadLines& lines);
    const NetworkClients& Clients() const { return clients_; }

  private:
    SteadyClock clock_;
    NetworkClients clients_;
    DdeClientConnector connector_;
    RegisterServer server_;
    NDDETimer timer_;
};

// Starts the network DDE agent ("netdde", hidden). A failed start is not reported.
void StartNetDdeAgent();

}  // namespace telvor
