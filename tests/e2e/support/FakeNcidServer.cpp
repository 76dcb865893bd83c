#include "support/FakeNcidServer.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <utility>

#include "support/CaseFolder.h"

namespace telvor::e2e {

namespace {

constexpr long kPollMs = 20;          // the longest the server's thread waits for a socket
constexpr DWORD kSendBoundMs = 5000;  // a client that reads nothing cannot hold a send longer
constexpr std::chrono::seconds kRequestBound{5};
// Below Linux's ports for outgoing connections (32768 up), where Wine's sockets live.
constexpr int kFirstPort = 20000;
constexpr int kPorts = 12000;
constexpr int kPortTries = 100;

// What follows the client's HELLO lines: the call log and the end of the start-up.
std::string RestOfGreeting(const std::vector<std::string>& log) {
    std::string rest;
    if (log.empty()) {
        rest = "252 Call log empty\r\n";
    } else {
        rest = "254 Start of call log\r\n";
        for (const std::string& line : log) rest += line + "\r\n";
        rest += "250 End of call log\r\n";
    }
    return rest + "300 End of connection startup\r\n";
}

bool SendAll(SOCKET socket, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size() - sent, 65536));
        const int n = send(socket, bytes.data() + sent, chunk, 0);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// The client has said its last HELLO line (the command request comes after the ident).
bool HelloDone(const std::string& received) {
    const std::size_t command = received.find("HELLO: CMD:");
    return command != std::string::npos && received.find('\n', command) != std::string::npos;
}

// Ends a connection with a reset: closed first by this side, it would otherwise wait on the
// server's port for minutes, and the port could not be listened on again meanwhile.
void Abort(UniqueSocket& socket) {
    const linger at_once{1, 0};
    setsockopt(socket.get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&at_once),
               sizeof at_once);
    socket.reset();
}

// Programs the case starts must not inherit the server's sockets: a copy in another process
// would keep the port listening and a connection open after the server closed them.
void KeepFromChildren(const UniqueSocket& socket) {
    SetHandleInformation(reinterpret_cast<HANDLE>(socket.get()), HANDLE_FLAG_INHERIT, 0);
}

}  // namespace

FakeNcidServer::FakeNcidServer(NcidGreeting greeting) : greeting_(std::move(greeting)) {
    // Process ids repeat from case to case (each has a prefix of its own); case folders do not.
    const auto first = static_cast<int>(std::hash<std::string>{}(test::CaseDir()) % kPorts);
    std::string error;
    for (int i = 0; i < kPortTries; ++i) {
        error = OpenListener(kFirstPort + (first + i) % kPorts);
        if (error.empty()) break;
    }
    if (!error.empty()) throw std::runtime_error(error);
    thread_ = std::thread([this] { Run(); });
}

FakeNcidServer::~FakeNcidServer() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    thread_.join();  // it looks at stop_ every kPollMs
}

void FakeNcidServer::SetGreeting(NcidGreeting greeting) {
    std::lock_guard<std::mutex> lock(mutex_);
    greeting_ = std::move(greeting);
}

std::size_t FakeNcidServer::Connections() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connections_.size();
}

bool FakeNcidServer::WaitForStartup(std::size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        return n >= 1 && connections_.size() >= n && connections_[n - 1].startupSent;
    });
}

bool FakeNcidServer::WaitForClosedByClient(std::size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        return n >= 1 && connections_.size() >= n && connections_[n - 1].closedByClient;
    });
}

std::string FakeNcidServer::Received(std::size_t n) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return n >= 1 && n <= connections_.size() ? connections_[n - 1].received : std::string();
}

bool FakeNcidServer::Send(const std::string& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    return client_ && SendAll(client_.get(), bytes);
}

void FakeNcidServer::CloseConnection() {
    Ask(Request::Close);
}

void FakeNcidServer::StopListening() {
    Ask(Request::StopListening);
}

void FakeNcidServer::Listen() {
    if (const std::string error = Ask(Request::Listen); !error.empty())
        throw std::runtime_error(error);
}

std::string FakeNcidServer::OpenListener(int port) {
    UniqueSocket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    KeepFromChildren(listener);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = inet_addr("127.0.0.1");
    local.sin_port = htons(static_cast<u_short>(port));
    if (!listener || bind(listener.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        listen(listener.get(), 4) != 0)
        return "fake NCID server: cannot listen on 127.0.0.1:" + std::to_string(port) +
               " (Winsock error " + std::to_string(WSAGetLastError()) + ")";
    listener_ = std::move(listener);
    port_ = port;
    return {};
}

std::string FakeNcidServer::Ask(Request request) {
    std::unique_lock<std::mutex> lock(mutex_);
    requests_.push_back(request);
    requestError_.clear();
    if (!changed_.wait_for(lock, kRequestBound, [&] { return requests_.empty(); }))
        return "fake NCID server: its thread did not take the request";
    return requestError_;
}

void FakeNcidServer::Run() {
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_) return;
        }
        CarryOutRequests();
        // One client at a time: a second one waits in the backlog until the first has gone.
        fd_set readable;
        FD_ZERO(&readable);
        if (client_)
            FD_SET(client_.get(), &readable);
        else if (listener_)
            FD_SET(listener_.get(), &readable);
        if (readable.fd_count == 0) {
            Sleep(kPollMs);
            continue;
        }
        timeval wait{0, kPollMs * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) > 0) {
            if (client_)
                ReadFromClient();
            else
                Accept();
        }
        FinishStartupWhenDue();
    }
}

void FakeNcidServer::CarryOutRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (requests_.empty()) return;
    for (const Request request : requests_) {
        switch (request) {
            case Request::Close:
                Abort(client_);
                pendingStartup_.clear();
                break;
            case Request::StopListening:
                listener_.reset();
                break;
            case Request::Listen:
                if (!listener_) requestError_ = OpenListener(port_);
                break;
        }
    }
    requests_.clear();
    changed_.notify_all();
}

void FakeNcidServer::Accept() {
    UniqueSocket accepted(accept(listener_.get(), nullptr, nullptr));
    if (!accepted) return;
    KeepFromChildren(accepted);
    setsockopt(accepted.get(), SOL_SOCKET, SO_SNDTIMEO,
               reinterpret_cast<const char*>(&kSendBoundMs), sizeof kSendBoundMs);
    std::lock_guard<std::mutex> lock(mutex_);
    client_ = std::move(accepted);
    connections_.emplace_back();
    pendingStartup_ = RestOfGreeting(greeting_.log);
    helloDeadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(kHelloWaitMs);
    SendAll(client_.get(), greeting_.head);
    changed_.notify_all();
}

void FakeNcidServer::ReadFromClient() {
    char buffer[4096];
    const int n = recv(client_.get(), buffer, sizeof buffer, 0);
    std::lock_guard<std::mutex> lock(mutex_);
    if (n > 0) {
        connections_.back().received.append(buffer, static_cast<std::size_t>(n));
    } else {  // closed or reset by the client
        connections_.back().closedByClient = true;
        client_.reset();
        pendingStartup_.clear();
    }
    changed_.notify_all();
}

void FakeNcidServer::FinishStartupWhenDue() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!client_ || pendingStartup_.empty()) return;
    if (!HelloDone(connections_.back().received) &&
        std::chrono::steady_clock::now() < helloDeadline_)
        return;
    SendAll(client_.get(), pendingStartup_);
    pendingStartup_.clear();
    connections_.back().startupSent = true;
    changed_.notify_all();
}

}  // namespace telvor::e2e
