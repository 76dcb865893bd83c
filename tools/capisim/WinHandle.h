// Owning wrapper of a kernel HANDLE (pipes, events, threads).
#pragma once

#include <windows.h>

#include <utility>

namespace capisim {

class WinHandle {
  public:
    WinHandle() = default;
    explicit WinHandle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    WinHandle(const WinHandle&) = delete;
    WinHandle& operator=(const WinHandle&) = delete;
    WinHandle(WinHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    WinHandle& operator=(WinHandle&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    ~WinHandle() { Reset(); }

    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void Reset() {
        if (h_) CloseHandle(h_);
        h_ = nullptr;
    }

  private:
    HANDLE h_ = nullptr;
};

// Overlapped I/O on a handle opened with FILE_FLAG_OVERLAPPED, bounded by timeout_ms
// (INFINITE allowed). Cancels the operation when the time is up. Returns the bytes moved,
// or -1 on failure or timeout (GetLastError then tells which: WAIT_TIMEOUT on timeout).
long OverlappedRead(HANDLE h, void* buf, DWORD size, DWORD timeout_ms);
long OverlappedWrite(HANDLE h, const void* buf, DWORD size, DWORD timeout_ms);

}  // namespace capisim
