#pragma once
// Owning wrappers of the DDEML handles the "Register" server uses: an instance and a string
// handle. Each frees its handle on the thread that made it.
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

}  // namespace telvor
