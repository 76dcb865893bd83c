#pragma once
// A blocking NCID client for the Wine tiers: connects over loopback (from a chosen loopback
// address), sends lines, and reads with every wait bounded, as an NCID client program would.
// Wrapped around an accepted connection it is the server's end of it, for fake servers.
// FreeTcpPort gives a server under test a port no other case uses.
#include <cstddef>
#include <string>
#include <utility>
#include <winsock2.h>

#include "base/win/Handles.h"

namespace telvor::test {

inline constexpr DWORD kNcidClientWaitMs = 5000;  // every read is bounded by this

// A TCP port free on every IPv4 address, as the system hands them out (0 when it will not):
// cases that run side by side each get their own. Process ids cannot tell them apart, since
// every case's fresh Wine prefix numbers its processes alike.
inline int FreeTcpPort() {
    UniqueSocket probe(socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    int length = sizeof local;
    if (bind(probe.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        getsockname(probe.get(), reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

// A blocking client with a receive timeout, bound to `from` (a loopback address).
class NcidTestClient {
  public:
    NcidTestClient(int port, const char* from = "127.0.0.1")
        : socket_(socket(AF_INET, SOCK_STREAM, 0)) {
        DWORD timeout = kNcidClientWaitMs;
        setsockopt(socket_.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                   sizeof timeout);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = inet_addr(from);
        bind(socket_.get(), reinterpret_cast<sockaddr*>(&local), sizeof local);
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_port = htons(static_cast<u_short>(port));
        server.sin_addr.s_addr = inet_addr("127.0.0.1");
        connected_ =
            connect(socket_.get(), reinterpret_cast<sockaddr*>(&server), sizeof server) == 0;
    }
    // The server's end of an accepted connection.
    explicit NcidTestClient(UniqueSocket accepted) : socket_(std::move(accepted)) {
        DWORD timeout = kNcidClientWaitMs;
        setsockopt(socket_.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                   sizeof timeout);
        connected_ = static_cast<bool>(socket_);
    }
    bool Connected() const { return connected_; }
    // Closes at once, as a server that goes away.
    void Close() { socket_.reset(); }
    void Send(const std::string& text) {
        send(socket_.get(), text.data(), static_cast<int>(text.size()), 0);
    }
    // Exactly `count` bytes, or what came before the connection ended or the time ran out.
    std::string Read(std::size_t count) {
        std::string got;
        char buffer[4096];
        while (got.size() < count) {
            const std::size_t want =
                count - got.size() < sizeof buffer ? count - got.size() : sizeof buffer;
            const int n = recv(socket_.get(), buffer, static_cast<int>(want), 0);
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }
    // Up to and including the line that ends with `last` (CR LF included), bounded in time.
    std::string ReadThrough(const std::string& last) {
        std::string got;
        char byte;
        while (got.size() < last.size() ||
               got.compare(got.size() - last.size(), last.size(), last) != 0) {
            if (recv(socket_.get(), &byte, 1, 0) != 1) break;
            got += byte;
        }
        return got;
    }
    // The peer closed the connection cleanly, without sending (more) bytes.
    bool ClosedByPeer() {
        char byte;
        return recv(socket_.get(), &byte, 1, 0) == 0;
    }

  private:
    UniqueSocket socket_;
    bool connected_ = false;
};

}  // namespace telvor::test
