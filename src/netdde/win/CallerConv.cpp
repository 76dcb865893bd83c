#include "netdde/win/CallerConv.h"

#include <cstddef>
#include <cstring>
#include <dde.h>

namespace telvor {

namespace {

constexpr char kWindowClass[] = "TelvorCallerConv";

// The conversation window: message-only, so it is no target of anyone's broadcasts.
HWND CreateConversationWindow(WNDPROC proc, void* owner) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    HWND hwnd = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                nullptr);
    if (hwnd) SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return hwnd;
}

// Frees what a posted acknowledgement carries (the item atom and the packed parameter).
void ReleaseAck(LPARAM lParam, bool& positive) {
    UINT_PTR status = 0, item = 0;
    if (UnpackDDElParam(WM_DDE_ACK, lParam, &status, &item)) FreeDDElParam(WM_DDE_ACK, lParam);
    if (item) GlobalDeleteAtom(static_cast<ATOM>(item));
    positive = (status & 0x8000) != 0;  // DDEACK.fAck
}

// An atom the broadcast and the poke name their strings by; releases it when it goes.
class Atom {
  public:
    explicit Atom(const std::string& text)
        : atom_(text.size() < 256 ? GlobalAddAtomA(text.c_str()) : 0) {}
    ~Atom() {
        if (atom_) GlobalDeleteAtom(atom_);
    }
    Atom(const Atom&) = delete;
    Atom& operator=(const Atom&) = delete;
    ATOM Get() const { return atom_; }
    ATOM Release() {
        const ATOM a = atom_;
        atom_ = 0;
        return a;
    }

  private:
    ATOM atom_;
};

}  // namespace

CallerConv::CallerConv(DWORD pokeTimeoutMs)
    : pokeTimeoutMs_(pokeTimeoutMs), window_(CreateConversationWindow(WindowProc, this)) {}

CallerConv::~CallerConv() {
    CloseLink();
}

void CallerConv::SetLink(const std::string& service, const std::string& topic) {
    CloseLink();
    service_ = service;
    topic_ = topic;
}

LRESULT CALLBACK CallerConv::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CallerConv*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && msg >= WM_DDE_FIRST && msg <= WM_DDE_LAST) return self->Handle(msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CallerConv::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(wParam);
    switch (msg) {
        case WM_DDE_ACK:
            if (initiating_) {
                // A server answers the broadcast (sent, with its own atoms): the first one
                // is our partner, any other is told goodbye at once.
                GlobalDeleteAtom(LOWORD(lParam));
                GlobalDeleteAtom(HIWORD(lParam));
                if (!server_) {
                    server_ = from;
                } else {
                    PostMessageA(from, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_.get()),
                                 0);
                }
                return 0;
            }
            {
                bool positive = false;
                ReleaseAck(lParam, positive);  // late answers of earlier links are freed too
                if (from == server_) {
                    acked_ = true;
                    accepted_ = positive;
                }
            }
            return 0;
        case WM_DDE_TERMINATE:
            if (from == server_ && !terminated_) {
                terminated_ = true;
                // A goodbye of the server's own is answered, as the protocol wants; the
                // answer to ours is not.
                if (!closing_)
                    PostMessageA(from, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_.get()),
                                 0);
            }
            return 0;
        default:
            return 0;  // a client that only pokes expects nothing else
    }
}

bool CallerConv::Initiate() {
    const Atom service(service_);
    const Atom topic(topic_);
    if (!service.Get() || !topic.Get()) return false;  // a name no server can have
    server_ = nullptr;
    terminated_ = false;
    closing_ = false;
    initiating_ = true;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(window_.get()),
                        MAKELPARAM(service.Get(), topic.Get()), SMTO_ABORTIFHUNG,
                        kInitiateTimeoutMs, &result);
    initiating_ = false;
    if (server_) opened_ = GetTickCount();
    return server_ != nullptr;
}

bool CallerConv::OpenLink(bool mayStart) {
    CloseLink();
    if (!window_) return false;
    if (Initiate()) return true;
    if (!mayStart) return false;
    const std::string command = service_ + " " + topic_;
    return WinExec(command.c_str(), SW_SHOWMINNOACTIVE) > 31 && Initiate();
}

void CallerConv::WaitUntil(const bool& done) {
    for (;;) {
        MSG msg;
        while (!done && PeekMessageA(&msg, window_.get(), WM_DDE_FIRST, WM_DDE_LAST, PM_REMOVE)) {
            // Wine hands out the quit request whatever the filter: it belongs to the main loop
            // (the session may have ended from inside this wait), so it goes back.
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            DispatchMessageA(&msg);
        }
        if (done || terminated_) return;
        const DWORD elapsed = GetTickCount() - opened_;  // unsigned: survives the wrap
        if (elapsed >= pokeTimeoutMs_) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pokeTimeoutMs_ - elapsed,
                                  QS_POSTMESSAGE | QS_SENDMESSAGE);
    }
}

bool CallerConv::PokeData(const std::string& item, const std::string& data) {
    if (!server_ || terminated_) return false;
    Atom itemAtom(item);
    if (!itemAtom.Get()) return false;
    const std::size_t header = offsetof(DDEPOKE, Value);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, header + data.size());
    if (!memory) return false;
    auto* poke = static_cast<DDEPOKE*>(GlobalLock(memory));
    if (!poke) {
        GlobalFree(memory);
        return false;
    }
    std::memset(poke, 0, header);
    poke->fRelease = 1;  // the server frees the data when it takes it
    poke->cfFormat = CF_TEXT;
    std::memcpy(reinterpret_cast<char*>(poke) + header, data.data(), data.size());
    GlobalUnlock(memory);

    acked_ = accepted_ = false;
    const LPARAM lParam =
        PackDDElParam(WM_DDE_POKE, reinterpret_cast<UINT_PTR>(memory), itemAtom.Get());
    if (!PostMessageA(server_, WM_DDE_POKE, reinterpret_cast<WPARAM>(window_.get()), lParam)) {
        FreeDDElParam(WM_DDE_POKE, lParam);
        GlobalFree(memory);
        return false;
    }
    itemAtom.Release();  // the server's now; it comes back with the acknowledgement
    WaitUntil(acked_);
    // Refused data stays the sender's; data not answered in time is left to the server.
    if (acked_ && !accepted_) GlobalFree(memory);
    return acked_ && accepted_;
}

void CallerConv::CloseLink() {
    if (!server_) return;
    closing_ = true;
    if (!terminated_ && IsWindow(server_) &&
        PostMessageA(server_, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_.get()), 0)) {
        WaitUntil(terminated_);
    }
    server_ = nullptr;
}

bool DdeClientConnector::PokeClient(const ClientShare& share, const std::string& payload) {
    conv_.SetLink(share.service, share.topic);
    if (!conv_.OpenLink(share.mayStartService)) return false;
    const bool poked = conv_.PokeData(share.item, payload);
    conv_.CloseLink();
    return poked;
}

}  // namespace telvor
