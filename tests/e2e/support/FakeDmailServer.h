#pragma once
// A stand-in for the messaging program: a DDEML server of service "DMAIL", topic "SMS", run
// by a thread of the test with its own message loop, which accepts pokes of CF_TEXT data to
// item "SEND" and records their bytes. One per test process (DDEML callbacks carry no
// context). Returns from its constructor once the service is registered. In hang mode it
// accepts the conversation and then does not answer a poke: its thread stays stuck in the
// poke for kHangMs, well beyond the client's time-out, as a messaging program that hangs
// would, and only then refuses the data.
#include <windows.h>
// after windows.h, which it needs
#include <ddeml.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace telvor::e2e {

using namespace std::chrono_literals;

class FakeDmailServer {
  public:
    enum class Mode { Answer, Hang };
    static constexpr std::chrono::milliseconds kHangMs{15000};
    // Throws std::runtime_error when DDEML or the service registration fails.
    explicit FakeDmailServer(Mode mode = Mode::Answer);
    ~FakeDmailServer();
    FakeDmailServer(const FakeDmailServer&) = delete;
    FakeDmailServer& operator=(const FakeDmailServer&) = delete;

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
    bool Is(HSZ hsz, const char* text) const;

    Mode mode_;
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

}  // namespace telvor::e2e
