#pragma once
// The address of a socket's peer as the allow rules and the loop check compare it.
#include <optional>
#include <winsock2.h>

#include "ncid/AddressRules.h"

namespace telvor {

// IPv4 or IPv6; nothing for any other family.
std::optional<NetAddress> NetAddressOf(const sockaddr_storage& address);
// The peer of a connected socket; nothing when it has none (any more).
std::optional<NetAddress> PeerOf(SOCKET socket);

}  // namespace telvor
