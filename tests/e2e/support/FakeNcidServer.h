#pragma once
// A stand-in NCID server for the monitor's NCID client, on a loopback port of the case. It
// takes one connection at a time on a thread of its own, greets it, keeps what the client
// sent, and sends lines, closes the connection or stops and restarts listening when the test
// asks. Every wait is bounded. Needs a WinsockSession for as long as it lives.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <winsock2.h>

#include "base/win/Handles.h"

namespace telvor::e2e {

using namespace std::chrono_literals;

struct NcidGreeting {
    // Sent as soon as a client connects; after it the client may say its HELLO lines.
    std::string head = "200 Server: fake NCID 1.0\r\n210 API: 1.14 Feature Set 1\r\n";
    // The CIDLOG lines of the call log (without CR LF), sent once the client has said its
    // HELLO lines (or after kHelloWaitMs), whatever it asked for: a client must ignore them.
    std::vector<std::string> log;
};

class FakeNcidServer {
  public:
    static constexpr int kHelloWaitMs = 1000;

    // Listens at once, on a free port below the system's range of ports for outgoing
    // connections (so that no connection of the monitor's can ever take it while the server
    // is away), the first tried being one of the case's own (cases run side by side); throws
    // std::runtime_error when there is none.
    explicit FakeNcidServer(NcidGreeting greeting = {});
    ~FakeNcidServer();
    FakeNcidServer(const FakeNcidServer&) = delete;
    FakeNcidServer& operator=(const FakeNcidServer&) = delete;

    int Port() const { return port_; }
    // The greeting of the connections accepted from now on.
    void SetGreeting(NcidGreeting greeting);

    // Connections are counted from 1 in the order they were accepted.
    std::size_t Connections() const;
    // Until the `n`-th connection has had its whole greeting (the end of the start-up).
    bool WaitForStartup(std::size_t n, std::chrono::milliseconds timeout = 20s) const;
    // Until the client of the `n`-th connection has closed it (or reset it).
    bool WaitForClosedByClient(std::size_t n, std::chrono::milliseconds timeout = 20s) const;
    // What the client of the `n`-th connection sent, as it came.
    std::string Received(std::size_t n) const;

    // Sends the bytes to the current client; false when there is none or sending failed.
    bool Send(const std::string& bytes);
    // Ends the current connection at once (reset), as a server that goes away does; this
    // leaves nothing on the port that would keep Listen from having it again.
    void CloseConnection();
    // Refuses new connections until Listen; Listen also throws when the port cannot be had.
    void StopListening();
    void Listen();

  private:
    struct Connection {
        std::string received;
        bool startupSent = false;
        bool closedByClient = false;
    };
    enum class Request { Close, StopListening, Listen };

    // Empty, or why the port cannot be had.
    std::string OpenListener(int port);
    void Run();
    void CarryOutRequests();
    void Accept();
    void ReadFromClient();
    void FinishStartupWhenDue();
    // Passes a request to the server's thread and waits until it has been carried out;
    // returns its error text (empty on success).
    std::string Ask(Request request);

    int port_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    NcidGreeting greeting_;
    std::vector<Connection> connections_;
    std::vector<Request> requests_;
    std::string requestError_;
    bool stop_ = false;
    // Opened and closed by the server's thread only (client_ under mutex_, which Send takes).
    UniqueSocket listener_;
    UniqueSocket client_;
    std::string pendingStartup_;  // the rest of the current connection's greeting
    std::chrono::steady_clock::time_point helloDeadline_;
    std::thread thread_;
};

}  // namespace telvor::e2e
