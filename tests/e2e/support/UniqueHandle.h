#pragma once
// Owns one kernel HANDLE (process, thread, file, event) and closes it exactly once.
#include <windows.h>

#include <utility>

namespace telvor::e2e {

class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : handle_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(HANDLE h = nullptr) {
        if (handle_) CloseHandle(handle_);
        handle_ = h == INVALID_HANDLE_VALUE ? nullptr : h;
    }

  private:
    HANDLE handle_ = nullptr;
};

}  // namespace telvor::e2e
