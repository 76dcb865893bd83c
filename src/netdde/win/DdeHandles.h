#pragma once
// Owning wrappers of the DDEML handles network distribution uses: an instance, a string
// handle and a conversation. Each frees its handle on the thread that made it.
#include <windows.h>
// after windows.h, which it needs
#include <ddeml.h>

namespace telvor {

class DdeInstance {
  public:
    DdeInstance(PFNCALLBACK callback, DWORD flags) {
        if (DdeInitializeA(&id_, callback, flags, 0) != DMLERR_NO_ERROR) id_ = 0;
    }
    ~DdeInstance() {
        if (id_) DdeUninitialize(id_);
    }
    DdeInstance(const DdeInstance&) = delete;
    DdeInstance& operator=(const DdeInstance&) = delete;
    DWORD Id() const { return id_; }

  private:
    DWORD id_ = 0;
};

class DdeString {
  public:
    DdeString() = default;
    // Null (and no error) for a text DDEML refuses, such as one longer than 255 characters.
    DdeString(DWORD instance, const char* text)
        : instance_(instance),
          hsz_(instance ? DdeCreateStringHandleA(instance, text, CP_WINANSI) : nullptr) {}
    ~DdeString() {
        if (hsz_) DdeFreeStringHandle(instance_, hsz_);
    }
    DdeString(const DdeString&) = delete;
    DdeString& operator=(const DdeString&) = delete;
    HSZ Get() const { return hsz_; }

  private:
    DWORD instance_ = 0;
    HSZ hsz_ = nullptr;
};

class DdeConversation {
  public:
    DdeConversation() = default;
    explicit DdeConversation(HCONV conv) : conv_(conv) {}
    ~DdeConversation() { Reset(); }
    DdeConversation(const DdeConversation&) = delete;
    DdeConversation& operator=(const DdeConversation&) = delete;
    void Reset(HCONV conv = nullptr) {
        if (conv_) DdeDisconnect(conv_);
        conv_ = conv;
    }
    explicit operator bool() const { return conv_ != nullptr; }
    HCONV Get() const { return conv_; }

  private:
    HCONV conv_ = nullptr;
};

}  // namespace telvor
