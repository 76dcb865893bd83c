#include "support/FakeWindow.h"

#include <atomic>
#include <future>
#include <stdexcept>

namespace telvor::e2e {

namespace {

std::atomic<unsigned long> g_sequence{0};

constexpr UINT kFirstRecorded = WM_USER + 1;  // 0x401
constexpr UINT kLastRecorded = WM_USER + 3;   // 0x403

}  // namespace

FakeWindow::FakeWindow(std::string className, std::string title)
    : className_(std::move(className)), title_(std::move(title)) {
    std::promise<HWND> created;
    std::future<HWND> window = created.get_future();
    // The window belongs to the thread that creates it and needs that thread's message loop.
    thread_ = std::thread([this, &created] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &FakeWindow::WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className_.c_str();
        // Two fake windows may share a class (e.g. one with the right title, one without).
        if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            created.set_value(nullptr);
            return;
        }
        HWND hwnd = CreateWindowExA(0, className_.c_str(), title_.c_str(), WS_OVERLAPPEDWINDOW, 0,
                                    0, 200, 100, nullptr, nullptr, wc.hInstance, this);
        created.set_value(hwnd);
        if (hwnd) Pump(hwnd);
    });
    if (window.wait_for(10s) != std::future_status::ready || !(window_ = window.get())) {
        // The thread has either failed or is stuck in window creation; it cannot be left
        // behind referring to this object.
        if (thread_.joinable()) thread_.join();
        throw std::runtime_error("cannot create the fake window " + className_);
    }
}

FakeWindow::~FakeWindow() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    thread_.join();
}

void FakeWindow::Pump(HWND) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

LRESULT CALLBACK FakeWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FakeWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message >= kFirstRecorded && message <= kLastRecorded) {
        self->Record(message, wParam, lParam);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void FakeWindow::Record(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        std::lock_guard lock(mutex_);
        messages_.push_back({message, wParam, lParam, ++g_sequence});
    } catch (...) {
        // Out of memory in a test: the missing record fails the test's expectations.
    }
    arrived_.notify_all();
}

std::vector<ReceivedMessage> FakeWindow::Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

bool FakeWindow::WaitForMessages(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return messages_.size() >= count; });
}

}  // namespace telvor::e2e
