#pragma once
// Owns one open registry key and closes it when it goes out of scope.
#include <windows.h>

#include <string>
#include <utility>

namespace telvor {

class RegKey {
  public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { Reset(); }
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Reset();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Result of RegOpenKeyExA; on failure the key stays closed.
    LONG Open(HKEY parent, const std::string& path, REGSAM access);
    // Result of RegCreateKeyExA (every missing level is created).
    LONG Create(HKEY parent, const std::string& path, REGSAM access);

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    void Reset();

  private:
    HKEY key_ = nullptr;
};

}  // namespace telvor
