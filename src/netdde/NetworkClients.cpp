#include "netdde/NetworkClients.h"

#include "netdde/NetDdeNames.h"

namespace telvor {

ClientShare ShareOf(std::string_view clientId) {
    return ClientShare{ClientServiceName(clientId), kClientTopic, kCallItem,
                       IsMachinePath(clientId)};
}

bool NetworkClients::RegisterPokeData(std::string_view pokedText) {
    if (!enabled_()) return false;
    // Anything else could name no client machine, and would only cost every call a try.
    const std::string id = FirstLine(pokedText);
    return IsMachinePath(id) && clients_.Register(id, clock_.Now());
}

void NetworkClients::NDDETimerTimer() {
    if (!enabled_()) return;
    clients_.RemoveExpired(clock_.Now());
}

std::size_t NetworkClients::ForwardCall(const ForwardPayloadLines& lines,
                                        ClientConnector& connector) {
    if (!enabled_()) return 0;
    const std::string payload = CallForwardPayload(lines);
    std::size_t delivered = 0;
    // A copy: each poke lets the message loop run, where a registration or a tick can change
    // the list. Whoever registered meanwhile gets the next call.
    for (const std::string& id : clients_.Ids()) {
        if (!enabled_()) break;  // switched off in the configuration dialog meanwhile
        if (connector.PokeClient(ShareOf(id), payload)) ++delivered;
    }
    return delivered;
}

}  // namespace telvor
