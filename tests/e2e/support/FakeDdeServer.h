#pragma once
// A stand-in for an outside DDE program (the messaging program, a network client): a DDEML
// server of one service and topic, run by a thread of the test with its own message loop,
// which accepts pokes of CF_TEXT data to one item and records their bytes. Returns from its
// constructor once the service is registered; several may run side by side. In hang mode it
// accepts the conversation and then does not answer a poke: its thread stays stuck in the
// poke for kHangMs, well beyond the client's time-out, as a peer that hangs would, and only
// then refuses the data.
#include <windows.h>
// after windows.h, which it needs
#include <chrono>
#include <condition_variable>
#include <ddeml.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace telvor::e2e {

using namespace std::chrono_literals;

class FakeDdeServer {
  public:
    enum class Mode { Answer, Hang };
    static constexpr std::chrono::milliseconds kHangMs{15000};
    // Throws std::runtime_error when DDEML or the service registration fails.
    FakeDdeServer(std::string service, std::string topic, std::string item,
                  Mode mode = Mode::Answer);
    ~FakeDdeServer();
    FakeDdeServer(const FakeDdeServer&) = delete;
    FakeDdeServer& operator=(const FakeDdeServer&) = delete;

    // The data of every accepted poke, exactly as received (terminating NUL included).
    std::vector<std::string> Pokes() const;
    bool WaitForPokes(std::size_t count, std::chrono::milliseconds timeout = 20s) const;
    // Conversations opened (XTYP_CONNECT accepted), to tell "not called" from "not poked".
    unsigned Connects() const;
    // Pokes left unanswered in hang mode.
    unsigned HeldPokes() const;

  private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV conv, HSZ topic, HSZ item,
                                      HDDEDATA data, ULONG_PTR, ULONG_PTR);
    HDDEDATA Handle(UINT type, UINT format, HSZ topic, HSZ item, HDDEDATA data) noexcept;
    void Run();
    bool Is(HSZ hsz, const std::string& text) const;

    const std::string service_, topic_, item_;
    const Mode mode_;
    DWORD instance_ = 0;
    DWORD threadId_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool ready_ = false;
    std::string error_;
    std::vector<std::string> pokes_;
    unsigned connects_ = 0;
    unsigned heldPokes_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

// The messaging program: service "DMAIL", topic "SMS", item "SEND".
class FakeDmailServer : public FakeDdeServer {
  public:
    explicit FakeDmailServer(Mode mode = Mode::Answer)
        : FakeDdeServer("DMAIL", "SMS", "SEND", mode) {}
};

// Opens one conversation, pokes CF_TEXT `data` to `item` and closes it, as a client would.
// True when the server acknowledged the poke.
bool PokeDde(const std::string& service, const std::string& topic, const std::string& item,
             std::string data);

}  // namespace telvor::e2e
