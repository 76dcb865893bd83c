#include "ncid/win/SocketAddress.h"

#include <cstring>
#include <ws2tcpip.h>

namespace telvor {

std::optional<NetAddress> NetAddressOf(const sockaddr_storage& address) {
    NetAddress out;
    if (address.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(address);
        std::memcpy(out.bytes.data(), &in.sin_addr, 4);
        return out;
    }
    if (address.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
        out.v6 = true;
        std::memcpy(out.bytes.data(), &in6.sin6_addr, 16);
        return out;
    }
    return std::nullopt;
}

std::optional<NetAddress> PeerOf(SOCKET socket) {
    sockaddr_storage peer{};
    int length = sizeof peer;
    if (getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &length) != 0) return std::nullopt;
    return NetAddressOf(peer);
}

}  // namespace telvor
