#pragma once
// Owning wrappers of every Win32 handle the programs, the simulator and the tests create.
// Each wrapper frees its handle exactly once, with the function that matches how it was
// obtained; nothing is freed by hand anywhere else.
#include <windows.h>

#include <ddeml.h>
#include <utility>
#include <winsock2.h>

namespace telvor {

// One handle of type T, released by Traits::Close when the wrapper ends. Traits::Valid tells
// a real handle from the "no handle" values of the API that made it.
template <class Traits>
class UniqueHandle {
  public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(Traits::Valid(h) ? h : Handle{}) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle h = Handle{}) {
        const Handle old = std::exchange(handle_, Traits::Valid(h) ? h : Handle{});
        if (Traits::Valid(old)) Traits::Close(old);
    }

  private:
    Handle handle_{};
};

namespace handle_traits {
template <class H, auto CloseFn>
struct Simple {
    using Handle = H;
    static bool Valid(H h) { return h != nullptr; }
    static void Close(H h) { CloseFn(h); }
};
struct Kernel {
    using Handle = HANDLE;
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FileSearch {
    using Handle = HANDLE;
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
inline void CloseKey(HKEY key) {
    RegCloseKey(key);
}
inline void DeleteGdiObject(HGDIOBJ object) {
    DeleteObject(object);
}
inline void UnloadModule(HMODULE module) {
    FreeLibrary(module);
}
}  // namespace handle_traits

// Processes, threads, files, events, pipes, mutexes.
using KernelHandle = UniqueHandle<handle_traits::Kernel>;
// FindFirstFile's searches.
using UniqueFileSearch = UniqueHandle<handle_traits::FileSearch>;
using UniqueWindow = UniqueHandle<handle_traits::Simple<HWND, DestroyWindow>>;
using UniqueMenu = UniqueHandle<handle_traits::Simple<HMENU, DestroyMenu>>;
// Icons from LoadImage without LR_SHARED, or CreateIcon*; never the shared system icons.
using UniqueIcon = UniqueHandle<handle_traits::Simple<HICON, DestroyIcon>>;
using UniqueRegKey = UniqueHandle<handle_traits::Simple<HKEY, handle_traits::CloseKey>>;
using UniqueModule = UniqueHandle<handle_traits::Simple<HMODULE, handle_traits::UnloadModule>>;
// Fonts, bitmaps, brushes, pens, palettes.
template <class GdiHandle>
using UniqueGdiObject =
    UniqueHandle<handle_traits::Simple<GdiHandle, handle_traits::DeleteGdiObject>>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueMemoryDc = UniqueHandle<handle_traits::Simple<HDC, DeleteDC>>;

// A window's device context from GetDC, given back with ReleaseDC. hwnd may be null (screen).
class WindowDc {
  public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a DC for one scope; the previous object is selected back.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// --- DDEML -----------------------------------------------------------------------------------

// One DDEML instance of this thread (DdeInitializeA), ended with DdeUninitialize.
class DdeInstance {
  public:
    DdeInstance() = default;
    explicit DdeInstance(DWORD id) : id_(id) {}
    DdeInstance(DdeInstance&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
    DdeInstance& operator=(DdeInstance&& other) noexcept {
        if (this != &other) {
            reset();
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }
    DdeInstance(const DdeInstance&) = delete;
    DdeInstance& operator=(const DdeInstance&) = delete;
    ~DdeInstance() { reset(); }

    // Starts an instance with `callback` and `flags`; an empty one when DDEML refuses.
    static DdeInstance Start(PFNCALLBACK callback, DWORD flags) {
        DWORD id = 0;
        if (DdeInitializeA(&id, callback, flags, 0) != DMLERR_NO_ERROR) id = 0;
        return DdeInstance(id);
    }
    DWORD get() const { return id_; }
    explicit operator bool() const { return id_ != 0; }
    void reset() {
        if (id_) DdeUninitialize(std::exchange(id_, 0));
    }

  private:
    DWORD id_ = 0;
};

// A string handle of one DDEML instance (DdeCreateStringHandleA, CP_WINANSI).
class DdeString {
  public:
    // Null (and no error) without an instance, or for a text DDEML refuses, such as one longer
    // than 255 characters.
    DdeString(DWORD instance, const char* text)
        : instance_(instance),
          hsz_(instance ? DdeCreateStringHandleA(instance, text, CP_WINANSI) : nullptr) {}
    ~DdeString() {
        if (hsz_) DdeFreeStringHandle(instance_, hsz_);
    }
    DdeString(const DdeString&) = delete;
    DdeString& operator=(const DdeString&) = delete;
    HSZ get() const { return hsz_; }
    explicit operator bool() const { return hsz_ != nullptr; }

  private:
    DWORD instance_;
    HSZ hsz_;
};

using UniqueConversation = UniqueHandle<handle_traits::Simple<HCONV, DdeDisconnect>>;

// A Winsock socket (INVALID_SOCKET when empty), closed with closesocket.
class UniqueSocket {
  public:
    UniqueSocket() = default;
    explicit UniqueSocket(SOCKET s) : socket_(s) {}
    UniqueSocket(UniqueSocket&& other) noexcept : socket_(other.release()) {}
    UniqueSocket& operator=(UniqueSocket&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;
    ~UniqueSocket() { reset(); }

    SOCKET get() const { return socket_; }
    explicit operator bool() const { return socket_ != INVALID_SOCKET; }
    SOCKET release() { return std::exchange(socket_, INVALID_SOCKET); }
    void reset(SOCKET s = INVALID_SOCKET) {
        const SOCKET old = std::exchange(socket_, s);
        if (old != INVALID_SOCKET) closesocket(old);
    }

  private:
    SOCKET socket_ = INVALID_SOCKET;
};

// A socket only this process holds: programs it starts never inherit it, so that none of
// them keeps a listening port bound, or a connection open, after the monitor let go of it.
inline UniqueSocket OwnSocket(SOCKET s) {
    if (s != INVALID_SOCKET)
        SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    return UniqueSocket(s);
}

// Event objects of WSACreateEvent.
using UniqueWsaEvent = UniqueHandle<handle_traits::Simple<WSAEVENT, WSACloseEvent>>;

// Winsock for as long as the object lives (WSAStartup 2.2 ... WSACleanup).
class WinsockSession {
  public:
    WinsockSession() {
        WSADATA data;
        error_ = WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockSession() {
        if (error_ == 0) WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    // 0, or the error WSAStartup returned.
    int Error() const { return error_; }

  private:
    int error_ = 0;
};

}  // namespace telvor
