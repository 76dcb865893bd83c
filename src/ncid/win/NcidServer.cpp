#include "ncid/win/NcidServer.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <winsock2.h>
#include <ws2tcpip.h>

#include "base/win/Handles.h"
#include "ncid/AddressRules.h"
#include "ncid/win/SocketAddress.h"

namespace telvor {
namespace {

// Lines Send may queue before the thread takes them; the thread takes them within a tick.
constexpr std::size_t kMaxQueuedLines = 1000;
// How often the thread looks at the clocks (HELLO window, idle bound) without other events.
constexpr DWORD kTickMs = 100;
// What one client may make the thread read in one round before the others get their turn.
constexpr std::size_t kReadPerRound = 64 * 1024;
// Connections one listener takes in one round: a flood of connects (past the bound each is
// accepted only to be closed) must not keep the thread from the clients it has. As many as
// there may be clients: a round then costs at most about twice what serving them costs.
constexpr int kAcceptsPerRound = 32;

std::string WinsockError(std::string_view what, std::string_view where, int error) {
    return std::string(what) + " " + std::string(where) + ": Winsock error " +
           std::to_string(error);
}

std::string EndpointText(const NetAddress& address, int port) {
    const std::string host = FormatNetAddress(address);
    return (address.v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

struct Listener {
    UniqueSocket socket;
    UniqueWsaEvent event;
    bool backlog = false;  // the last round stopped at kAcceptsPerRound: more may be waiting
};

// A line for every client but the one at `except` (the server a network call came from).
struct QueuedLine {
    std::string text;
    std::optional<NetAddress> except;
};

struct Client {
    Client(UniqueSocket s, UniqueWsaEvent e, NetAddress a, const NcidLimits& limits,
           NcidClock::time_point now)
        : socket(std::move(s)), event(std::move(e)), address(a), session(limits, now) {}
    UniqueSocket socket;
    UniqueWsaEvent event;
    NetAddress address;
    NcidSession session;
    bool writable = true;  // until a send would block; FD_WRITE says when it may again
    bool gone = false;     // the peer closed, or the socket failed
};

}  // namespace

struct NcidServer::Impl {
    HWND notifyWindow = nullptr;
    UINT notifyMessage = 0;

    // Set up by Start; the thread uses them until Stop has joined it.
    std::unique_ptr<WinsockSession> winsock;
    std::vector<Listener> listeners;
    UniqueWsaEvent wake;
    AddressRules rules = AddressRules::Default();
    NcidLimits limits;
    CallLogSource callLog;
    int port = 0;
    std::thread thread;
    std::atomic<std::size_t> clientCount{0};

    std::mutex mutex;  // guards the two below
    std::vector<QueuedLine> queued;
    bool stopping = false;

    std::vector<std::unique_ptr<Client>> clients;  // the thread's alone

    std::string Open(const NcidServerSettings& settings);
    std::string Listen(const NetAddress& address, bool optional);
    void Run();
    void Accept(Listener& listener, NcidClock::time_point now);
    void Read(Client& client, NcidClock::time_point now);
    void Flush(Client& client, NcidClock::time_point now);
    void CountChanged();
    void Enqueue(std::string line, std::optional<NetAddress> except);
};

void NcidServer::Impl::Enqueue(std::string line, std::optional<NetAddress> except) {
    if (!thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (queued.size() >= kMaxQueuedLines) queued.erase(queued.begin());
        queued.push_back({std::move(line), except});
    }
    WSASetEvent(wake.get());
}

std::string NcidServer::Impl::Listen(const NetAddress& address, bool optional) {
    const std::string where = EndpointText(address, port);
    UniqueSocket s = OwnSocket(socket(address.v6 ? AF_INET6 : AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!s) {
        const int error = WSAGetLastError();
        // A system without IPv6 serves IPv4 only.
        if (optional && (error == WSAEAFNOSUPPORT || error == WSAEPROTONOSUPPORT)) return {};
        return WinsockError("socket", where, error);
    }
    // No other program may take the port from under the server (best effort: not every
    // system knows the option).
    BOOL exclusive = TRUE;
    setsockopt(s.get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
               sizeof exclusive);

    sockaddr_storage local{};
    int length = 0;
    if (address.v6) {
        // The IPv4 listener serves IPv4; this socket takes IPv6 only.
        DWORD only = 1;
        setsockopt(s.get(), IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&only),
                   sizeof only);
        auto& in6 = reinterpret_cast<sockaddr_in6&>(local);
        in6.sin6_family = AF_INET6;
        in6.sin6_port = htons(static_cast<u_short>(port));
        std::memcpy(&in6.sin6_addr, address.bytes.data(), 16);
        length = sizeof(sockaddr_in6);
    } else {
        auto& in = reinterpret_cast<sockaddr_in&>(local);
        in.sin_family = AF_INET;
        in.sin_port = htons(static_cast<u_short>(port));
        std::memcpy(&in.sin_addr, address.bytes.data(), 4);
        length = sizeof(sockaddr_in);
    }
    if (bind(s.get(), reinterpret_cast<const sockaddr*>(&local), length) != 0)
        return WinsockError("bind", where, WSAGetLastError());
    if (port == 0) {
        // The system chose: the other listener takes the same port.
        sockaddr_storage bound{};
        int boundLength = sizeof bound;
        if (getsockname(s.get(), reinterpret_cast<sockaddr*>(&bound), &boundLength) != 0)
            return WinsockError("getsockname", where, WSAGetLastError());
        port = ntohs(reinterpret_cast<const sockaddr_in&>(bound).sin_port);
    }
    if (listen(s.get(), SOMAXCONN) != 0) return WinsockError("listen", where, WSAGetLastError());
    UniqueWsaEvent event(WSACreateEvent());
    if (!event || WSAEventSelect(s.get(), event.get(), FD_ACCEPT) != 0)
        return WinsockError("WSAEventSelect", where, WSAGetLastError());
    listeners.push_back({std::move(s), std::move(event)});
    return {};
}

std::string NcidServer::Impl::Open(const NcidServerSettings& settings) {
    if (const auto address = settings.ListenAddress()) return Listen(*address, false);
    NetAddress anyV6;
    anyV6.v6 = true;
    std::string error = Listen(NetAddress{}, false);
    if (error.empty()) error = Listen(anyV6, true);
    return error;
}

void NcidServer::Impl::Accept(Listener& listener, NcidClock::time_point now) {
    listener.backlog = false;
    for (int taken = 0; taken < kAcceptsPerRound; ++taken) {
        sockaddr_storage peer{};
        int length = sizeof peer;
        UniqueSocket s =
            OwnSocket(accept(listener.socket.get(), reinterpret_cast<sockaddr*>(&peer), &length));
        if (!s) {
            // A connection reset while it waited is skipped; otherwise (WSAEWOULDBLOCK) all
            // are taken, and FD_ACCEPT comes again with the next one.
            if (WSAGetLastError() == WSAECONNRESET) continue;
            return;
        }
        // Refused addresses and clients past the bound are closed here, before a byte.
        const auto address = NetAddressOf(peer);
        if (!address || !rules.Allows(*address) || clients.size() >= limits.maxClients) continue;
        UniqueWsaEvent event(WSACreateEvent());
        if (!event || WSAEventSelect(s.get(), event.get(), FD_READ | FD_WRITE | FD_CLOSE) != 0)
            continue;
        clients.push_back(
            std::make_unique<Client>(std::move(s), std::move(event), *address, limits, now));
        Flush(*clients.back(), now);
    }
    // Taken on in the next round, after the clients had theirs; it follows without a wait,
    // whether or not FD_ACCEPT is signalled again.
    listener.backlog = true;
}

void NcidServer::Impl::Read(Client& client, NcidClock::time_point now) {
    // Read on after a close too (the session ignores it): a socket closed with unread bytes
    // ends with a reset, which could throw away the last lines on their way to the client.
    char buffer[4096];
    for (std::size_t total = 0; total < kReadPerRound;) {
        const int n = recv(client.socket.get(), buffer, sizeof buffer, 0);
        if (n > 0) {
            client.session.Received(std::string_view(buffer, static_cast<std::size_t>(n)), now);
            total += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK) return;
        client.gone = true;  // 0: the peer closed its side; otherwise the connection failed
        return;
    }
}

void NcidServer::Impl::Flush(Client& client, NcidClock::time_point now) {
    while (client.writable && !client.gone) {
        const std::string_view out = client.session.PendingOutput();
        if (out.empty()) return;
        const int n = send(client.socket.get(), out.data(),
                           static_cast<int>(std::min<std::size_t>(out.size(), 64 * 1024)), 0);
        if (n > 0) {
            client.session.Sent(static_cast<std::size_t>(n), now);
        } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
            client.writable = false;
        } else {
            client.gone = true;
        }
    }
}

void NcidServer::Impl::CountChanged() {
    const std::size_t count = clients.size();
    if (clientCount.exchange(count) == count) return;
    if (notifyWindow) PostMessageA(notifyWindow, notifyMessage, static_cast<WPARAM>(count), 0);
}

void NcidServer::Impl::Run() {
    std::vector<WSAEVENT> events;
    std::vector<QueuedLine> lines;
    while (true) {
        events.assign(1, wake.get());
        for (const Listener& l : listeners) events.push_back(l.event.get());
        for (const auto& c : clients) events.push_back(c->event.get());
        const bool backlog = std::ranges::any_of(listeners, &Listener::backlog);
        // At most 1 + 2 + 32 events: well below WSA_MAXIMUM_WAIT_EVENTS (64).
        WSAWaitForMultipleEvents(static_cast<DWORD>(events.size()), events.data(), FALSE,
                                 backlog ? 0 : kTickMs, FALSE);
        // Reset before taking the queue: a Send after this point wakes the next wait.
        WSAResetEvent(wake.get());
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (stopping) break;
            lines.swap(queued);
        }
        const NcidClock::time_point now = NcidClock::now();

        for (Listener& l : listeners) {
            WSANETWORKEVENTS happened{};
            const bool signalled =
                WSAEnumNetworkEvents(l.socket.get(), l.event.get(), &happened) == 0 &&
                (happened.lNetworkEvents & FD_ACCEPT);
            if (signalled || l.backlog) Accept(l, now);
        }
        for (const auto& c : clients) {
            WSANETWORKEVENTS happened{};
            if (WSAEnumNetworkEvents(c->socket.get(), c->event.get(), &happened) != 0) {
                c->gone = true;
                continue;
            }
            if (happened.lNetworkEvents & FD_WRITE) c->writable = true;
            if (happened.lNetworkEvents & (FD_READ | FD_CLOSE)) Read(*c, now);
            if (happened.lNetworkEvents & FD_CLOSE) c->gone = true;
        }

        std::optional<std::vector<NcidCall>> log;  // read once for all who want it now
        for (const auto& c : clients) {
            for (const QueuedLine& line : lines)
                if (line.except != c->address) c->session.Deliver(line.text);
            c->session.Tick(now);
            if (c->session.LogDue(now)) {
                if (c->session.WantsLog() && !log)
                    log = callLog ? callLog() : std::vector<NcidCall>{};
                c->session.FinishStartup(c->session.WantsLog() ? *log : std::vector<NcidCall>{});
            }
            Flush(*c, now);
        }
        lines.clear();

        // After a GOODBYE what could be sent went out above; what is left goes with the rest.
        std::erase_if(clients, [](const auto& c) {
            if (!c->gone && !c->session.Closing()) return false;
            shutdown(c->socket.get(), SD_SEND);
            return true;
        });
        CountChanged();
    }
    // Stop: a clean close for everyone, the data already sent still arrives.
    for (const auto& c : clients) shutdown(c->socket.get(), SD_SEND);
    clients.clear();
    CountChanged();
}

NcidServer::NcidServer() : impl_(std::make_unique<Impl>()) {}

NcidServer::~NcidServer() {
    Stop();
}

void NcidServer::SetNotify(HWND window, UINT message) {
    impl_->notifyWindow = window;
    impl_->notifyMessage = message;
}

std::string NcidServer::Start(const NcidServerSettings& settings, CallLogSource callLog,
                              const NcidLimits& limits) {
    Stop();
    if (settings.port < 0 || settings.port > 65535) return "port " + std::to_string(settings.port);
    Impl& s = *impl_;
    s.winsock = std::make_unique<WinsockSession>();
    if (s.winsock->Error() != 0) {
        const int error = s.winsock->Error();
        s.winsock.reset();
        return WinsockError("WSAStartup", "2.2", error);
    }
    s.rules = settings.AllowRules();
    s.limits = limits;
    s.callLog = std::move(callLog);
    s.port = settings.port;
    s.wake.reset(WSACreateEvent());
    std::string error =
        s.wake ? s.Open(settings) : WinsockError("WSACreateEvent", "", WSAGetLastError());
    if (!error.empty()) {
        s.listeners.clear();
        s.wake.reset();
        s.winsock.reset();
        s.port = 0;
        return error;
    }
    s.stopping = false;
    s.thread = std::thread([&s] { s.Run(); });
    return {};
}

void NcidServer::Stop() {
    Impl& s = *impl_;
    if (!s.thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.stopping = true;
        s.queued.clear();
    }
    WSASetEvent(s.wake.get());
    s.thread.join();
    s.listeners.clear();
    s.wake.reset();
    s.winsock.reset();
    s.port = 0;
}

void NcidServer::Send(const NcidCall& call, std::optional<NetAddress> except) {
    impl_->Enqueue(CidLine(call), except);
}

void NcidServer::SendCallEnd(std::string_view line, std::string_view timeHhMmSs,
                             std::optional<NetAddress> except) {
    impl_->Enqueue(CidInfoEndLine(line, timeHhMmSs), except);
}

bool NcidServer::Running() const {
    return impl_->thread.joinable();
}

std::size_t NcidServer::ClientCount() const {
    return impl_->clientCount.load();
}

int NcidServer::Port() const {
    return Running() ? impl_->port : 0;
}

}  // namespace telvor
