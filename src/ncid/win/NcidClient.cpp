#include "ncid/win/NcidClient.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <winsock2.h>
#include <ws2tcpip.h>

#include "base/Version.h"
#include "base/win/Handles.h"
#include "ncid/Backoff.h"
#include "ncid/win/SocketAddress.h"

namespace telvor {
namespace {

// How often a connection's thread looks at the clocks (start-up bound, keep-alive).
constexpr DWORD kTickMs = 1000;
// How long one address may take to accept the connection before the next is tried.
constexpr DWORD kConnectTimeoutMs = 10000;

using AddressList = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

struct Connection {
    UniqueSocket socket;
    UniqueWsaEvent event;
};

}  // namespace

struct NcidClient::Impl {
    HWND notifyWindow = nullptr;
    UINT notifyMessage = 0;

    // Set up by Start; the thread uses them until Stop has joined it.
    NcidClientSettings settings;
    NcidClientLimits limits;
    std::unique_ptr<WinsockSession> winsock;
    UniqueWsaEvent wake;
    std::thread thread;
    std::atomic<bool> connected{false};

    std::mutex mutex;  // guards the four below
    std::vector<NcidClientEvent> events;
    bool notified = false;  // a kEventsWaiting is on its way and not yet answered
    bool stopping = false;
    std::optional<NetAddress> server;  // the peer of the connection being served

    void Run();
    bool Stopping();
    // Waits `ms` or until Stop; true when stopping.
    bool Pause(DWORD ms);
    std::optional<Connection> Connect();
    std::optional<Connection> ConnectTo(const addrinfo& address);
    // Serves one connection until it ends; true when its start-up went through.
    bool Serve(Connection& connection);
    void Deliver(std::vector<NcidClientEvent> fresh);
    void SetConnected(bool now);
};

bool NcidClient::Impl::Stopping() {
    std::lock_guard<std::mutex> lock(mutex);
    return stopping;
}

bool NcidClient::Impl::Pause(DWORD ms) {
    WaitForSingleObject(wake.get(), ms);
    return Stopping();
}

std::optional<Connection> NcidClient::Impl::ConnectTo(const addrinfo& address) {
    Connection c{OwnSocket(socket(address.ai_family, address.ai_socktype, address.ai_protocol)),
                 UniqueWsaEvent(WSACreateEvent())};
    if (!c.socket || !c.event ||
        WSAEventSelect(c.socket.get(), c.event.get(), FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) !=
            0)
        return std::nullopt;
    if (connect(c.socket.get(), address.ai_addr, static_cast<int>(address.ai_addrlen)) == 0)
        return c;
    if (WSAGetLastError() != WSAEWOULDBLOCK) return std::nullopt;
    WSAEVENT both[2] = {wake.get(), c.event.get()};
    const DWORD waited = WSAWaitForMultipleEvents(2, both, FALSE, kConnectTimeoutMs, FALSE);
    if (waited != WSA_WAIT_EVENT_0 + 1) return std::nullopt;  // stopping, or no answer
    WSANETWORKEVENTS happened{};
    // The reset also takes a first FD_READ with it; Serve reads without waiting for one.
    if (WSAEnumNetworkEvents(c.socket.get(), c.event.get(), &happened) != 0 ||
        !(happened.lNetworkEvents & FD_CONNECT) || happened.iErrorCode[FD_CONNECT_BIT] != 0)
        return std::nullopt;
    return c;
}

std::optional<Connection> NcidClient::Impl::Connect() {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    if (getaddrinfo(settings.host.c_str(), std::to_string(settings.port).c_str(), &hints, &found) !=
        0)
        return std::nullopt;
    const AddressList list(found, &freeaddrinfo);
    for (const addrinfo* a = list.get(); a && !Stopping(); a = a->ai_next)
        if (auto c = ConnectTo(*a)) return c;
    return std::nullopt;
}

bool NcidClient::Impl::Serve(Connection& c) {
    {
        const std::optional<NetAddress> peer = PeerOf(c.socket.get());
        std::lock_guard<std::mutex> lock(mutex);
        server = peer;
    }
    NcidClientSession session(TELVOR_VERSION_TEXT, NcidClientClock::now(), limits);
    bool gone = false;
    while (!gone && !session.Closing()) {
        const NcidClientClock::time_point now = NcidClientClock::now();
        // Read until the socket has nothing more: each recv re-arms FD_READ.
        char buffer[4096];
        while (!session.Closing()) {
            const int n = recv(c.socket.get(), buffer, sizeof buffer, 0);
            if (n > 0) {
                session.Received(std::string_view(buffer, static_cast<std::size_t>(n)), now);
                continue;
            }
            gone = n == 0 || WSAGetLastError() != WSAEWOULDBLOCK;
            break;
        }
        session.Tick(now);
        while (!gone && !session.PendingOutput().empty()) {
            const std::string_view out = session.PendingOutput();
            const int n = send(c.socket.get(), out.data(), static_cast<int>(out.size()), 0);
            if (n > 0) {
                session.Sent(static_cast<std::size_t>(n), now);
            } else {
                gone = WSAGetLastError() != WSAEWOULDBLOCK;
                break;  // the rest goes when FD_WRITE says it may
            }
        }
        Deliver(session.TakeEvents());
        if (session.StartupDone()) SetConnected(true);
        if (gone || session.Closing()) break;

        WSAEVENT both[2] = {wake.get(), c.event.get()};
        WSAWaitForMultipleEvents(2, both, FALSE, kTickMs, FALSE);
        if (Stopping()) break;
        WSANETWORKEVENTS happened{};
        WSAEnumNetworkEvents(c.socket.get(), c.event.get(), &happened);  // resets the event
    }
    shutdown(c.socket.get(), SD_SEND);
    return session.StartupDone();
}

void NcidClient::Impl::Deliver(std::vector<NcidClientEvent> fresh) {
    std::lock_guard<std::mutex> lock(mutex);
    for (NcidClientEvent& e : fresh) {
        if (events.size() >= kMaxWaitingEvents) events.erase(events.begin());
        events.push_back(std::move(e));
    }
    // Also retried here when an earlier post failed (a full message queue).
    if (!events.empty() && !notified && notifyWindow)
        notified = PostMessageA(notifyWindow, notifyMessage, kEventsWaiting, 0) != FALSE;
}

void NcidClient::Impl::SetConnected(bool now) {
    if (connected.exchange(now) == now) return;
    if (notifyWindow) PostMessageA(notifyWindow, notifyMessage, kConnectionChanged, now ? 1 : 0);
}

void NcidClient::Impl::Run() {
    NcidBackoff backoff;
    while (!Stopping()) {
        if (auto c = Connect()) {
            if (Serve(*c)) backoff.Reset();
            SetConnected(false);
        }
        const auto delay = backoff.Next();
        if (Pause(static_cast<DWORD>(delay.count()))) break;
    }
}

NcidClient::NcidClient() : impl_(std::make_unique<Impl>()) {}

NcidClient::~NcidClient() {
    Stop();
}

void NcidClient::SetNotify(HWND window, UINT message) {
    impl_->notifyWindow = window;
    impl_->notifyMessage = message;
}

std::string NcidClient::Start(const NcidClientSettings& settings, const NcidClientLimits& limits) {
    Stop();
    if (settings.host.empty()) return "no NCID server host";
    if (settings.port < 1 || settings.port > 65535) return "port " + std::to_string(settings.port);
    Impl& s = *impl_;
    s.winsock = std::make_unique<WinsockSession>();
    if (s.winsock->Error() != 0) {
        const int error = s.winsock->Error();
        s.winsock.reset();
        return "WSAStartup 2.2: Winsock error " + std::to_string(error);
    }
    s.wake.reset(WSACreateEvent());
    if (!s.wake) {
        s.winsock.reset();
        return "WSACreateEvent: Winsock error " + std::to_string(WSAGetLastError());
    }
    s.settings = settings;
    s.limits = limits;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.stopping = false;
        s.events.clear();
        s.notified = false;
    }
    s.thread = std::thread([&s] { s.Run(); });
    return {};
}

void NcidClient::Stop() {
    Impl& s = *impl_;
    if (!s.thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.stopping = true;
    }
    WSASetEvent(s.wake.get());
    s.thread.join();
    s.wake.reset();
    s.winsock.reset();
}

std::vector<NcidClientEvent> NcidClient::TakeEvents() {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->notified = false;
    return std::exchange(impl_->events, {});
}

bool NcidClient::Running() const {
    return impl_->thread.joinable();
}

bool NcidClient::Connected() const {
    return impl_->connected.load();
}

std::optional<NetAddress> NcidClient::ServerAddress() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->server;
}

}  // namespace telvor
