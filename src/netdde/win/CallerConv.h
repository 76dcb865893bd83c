#pragma once
// CallerConv: the DDE client conversation that carries forwarded calls, in manual connect
// mode: set the link, open it, poke, close it. One conversation at a time.
#include <windows.h>

#include <optional>
#include <string>

#include "netdde/NetworkClients.h"
#include "netdde/win/DdeHandles.h"

namespace telvor {

// The time a client has to take a forwarded call before it is given up.
inline constexpr DWORD kCallPokeTimeoutMs = 10000;

class CallerConv {
  public:
    CallerConv();
    CallerConv(const CallerConv&) = delete;
    CallerConv& operator=(const CallerConv&) = delete;

    // Names the service and topic of the next OpenLink; an open link is closed first.
    void SetLink(const std::string& service, const std::string& topic);
    // One connection attempt. When it fails and `mayStart` is set, starts the program named
    // by the service with the topic as argument and, when that started, attempts once more.
    bool OpenLink(bool mayStart);
    // Pokes CF_TEXT `data` to `item`; true when the server acknowledged it in time.
    bool PokeData(const std::string& item, const std::string& data,
                  DWORD timeoutMs = kCallPokeTimeoutMs);
    void CloseLink() { conv_.Reset(); }

  private:
    HCONV Connect() const;

    DdeInstance instance_;  // first in, last out: the handles below belong to it
    std::string service_;
    std::string topic_;
    std::optional<DdeString> serviceHsz_;
    std::optional<DdeString> topicHsz_;
    DdeConversation conv_;
};

// The transport of forwarded calls over CallerConv.
class DdeClientConnector final : public ClientConnector {
  public:
    bool PokeClient(const ClientShare& share, const std::string& payload) override;

  private:
    CallerConv conv_;
};

}  // namespace telvor
