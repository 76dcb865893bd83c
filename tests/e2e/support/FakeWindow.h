#pragma once
// A stand-in for another program's main window: a hidden top-level window with the given
// class and title, run by a thread of the test, which records the control messages
// 0x401-0x403 it receives and answers them with 0, as the monitor's handlers do.
// Other programs find it with FindWindowA exactly as they would find the real one.
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace telvor::e2e {

using namespace std::chrono_literals;

struct ReceivedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    // Taken from one counter shared by all fake windows of the test, so the order in which
    // several windows were addressed can be checked.
    unsigned long sequence;
};

class FakeWindow {
  public:
    // Returns once the window exists; throws std::runtime_error if it cannot be created.
    FakeWindow(std::string className, std::string title);
    ~FakeWindow();
    FakeWindow(const FakeWindow&) = delete;
    FakeWindow& operator=(const FakeWindow&) = delete;

    HWND Handle() const { return window_; }
    std::vector<ReceivedMessage> Messages() const;
    // True once at least `count` messages have arrived, waiting at most `timeout`.
    bool WaitForMessages(std::size_t count, std::chrono::milliseconds timeout = 10s) const;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Record(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Pump(HWND window);

    std::string className_;
    std::string title_;
    HWND window_ = nullptr;
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<ReceivedMessage> messages_;
    std::thread thread_;
};

}  // namespace telvor::e2e
