#include "capi/win/CapiLine.h"

#include <array>
#include <utility>

#include "base/StringTable.h"
#include "base/win/CallbackGuard.h"
#include "capi/CapiMessage.h"
#include "capi/WaitPriority.h"

namespace telvor {

namespace {

// Registration as the monitor needs it: 2 logical connections of 1024 bytes of message
// buffer each plus 1024, 7 B-data blocks of 2048 bytes.
constexpr DWORD kMessageBufferSize = 3072;
constexpr DWORD kMaxLogicalConnections = 2;
constexpr DWORD kMaxBDataBlocks = 7;
constexpr DWORD kMaxBDataLength = 2048;

// A library whose wait fails at once (no registration) must not keep both threads busy.
constexpr DWORD kFailedWaitPauseMs = 100;

constexpr char kSinkClassName[] = "TelvorCapiHandOver";

std::uint16_t Low16(DWORD result) {
    return static_cast<std::uint16_t>(result & 0xFFFF);
}

// A message number of its own, so that a stray message to a reused window handle is never
// taken for a hand-over.
UINT HandOverMessage() {
    static const UINT message = RegisterWindowMessageA("TelvorCapiHandOver");
    return message;
}

}  // namespace

// --- wait thread ----------------------------------------------------------------------------

TCAPIWaitThread::TCAPIWaitThread(CapiWaitForSignalProc wait, std::uint32_t applId, HWND sink,
                                 unsigned generation)
    : state_(std::make_shared<State>()), generation_(generation) {
    state_->wait = wait;
    state_->applId = applId;
    state_->sink = sink;
    state_->generation = generation;
    // Taken here, before the thread exists: the library cannot be unloaded between the
    // thread's start and its first instruction in it.
    HMODULE library = nullptr;
    if (wait) {
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCSTR>(reinterpret_cast<void*>(wait)), &library);
    }
    // The thread keeps the state alive through its own reference.
    auto start = std::make_unique<Start>(Start{state_, library});
    DWORD id = 0;
    handle_.reset(
        CreateThread(nullptr, 0, &TCAPIWaitThread::Body, start.get(), CREATE_SUSPENDED, &id));
    if (handle_) {
        start.release();  // now the thread's
    } else if (library) {
        FreeLibrary(library);
    }
}

void TCAPIWaitThread::SetPriority(int priority) {
    if (handle_) SetThreadPriority(handle_.get(), priority);
}

void TCAPIWaitThread::Resume() {
    if (handle_) ResumeThread(handle_.get());
}

void TCAPIWaitThread::Terminate() {
    state_->terminate.store(true);
}

DWORD WINAPI TCAPIWaitThread::Body(void* param) {
    HMODULE library = nullptr;
    DWORD result = 0;
    {
        const std::unique_ptr<Start> start(static_cast<Start*>(param));
        library = start->library;
        result = Guarded("CAPI wait thread", DWORD{0}, [&] { return Loop(*start->state); });
    }
    // The last instruction in the library has returned: now the reference may go, and with
    // it the library, if the program has already unloaded it. FreeLibraryAndExitThread does
    // not come back into the unloaded code.
    if (library) FreeLibraryAndExitThread(library, result);
    return result;
}

DWORD TCAPIWaitThread::Loop(State& s) {
    while (!s.terminate.load()) {
        const DWORD result = s.wait(s.applId);
        if (s.terminate.load()) break;  // released: nothing of this registration is left
        if (result != 0) Sleep(kFailedWaitPauseMs);
        // Blocks until the main thread has fetched and handled one message, so the next
        // message of this registration cannot be handled before this one is done. Fails
        // harmlessly once the component and its window are gone.
        SendMessageA(s.sink, HandOverMessage(), s.generation, 0);
    }
    return DWORD{0};
}

// --- component ------------------------------------------------------------------------------

TCAPI::TCAPI(HWND owner, const CapiFunctionTable& functions,
             ControllerMissingReporter reportControllerMissing)
    : owner_(owner), capi_(functions) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TCAPI::SinkProc;
    wc.hInstance = instance;
    wc.lpszClassName = kSinkClassName;
    RegisterClassExA(&wc);  // fails harmlessly when a second component registers it again
    // A message-only window of the constructing (main) thread: messages sent to it run on
    // that thread, also while it sits in a modal loop.
    sink_.reset(CreateWindowExA(0, kSinkClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance, nullptr));
    if (sink_) SetWindowLongPtrA(sink_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    if (GetControllerCount() < 1 && reportControllerMissing) reportControllerMissing(owner_);
    Open();
}

TCAPI::~TCAPI() {
    Close();
    if (sink_) SetWindowLongPtrA(sink_.get(), GWLP_USERDATA, 0);
}

LRESULT CALLBACK TCAPI::SinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == HandOverMessage()) {
        auto* self = reinterpret_cast<TCAPI*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        // An event handler's failure ends that event; the message is handled as far as it got.
        if (self) Guarded("CAPI hand-over", [&] { self->HandOver(static_cast<unsigned>(wParam)); });
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void TCAPI::HandOver(unsigned generation) {
    // Only the thread of the registration in force fetches messages: a thread that a Close
    // told to end must not fetch the new registration's messages behind its own thread's
    // back (that would run its events nested).
    if (WaitThread && WaitThread->Generation() == generation) ReceiveMessage();
}

void TCAPI::Put(const std::vector<std::uint8_t>& message) {
    // The library takes a non-const pointer but does not keep the buffer.
    LastError = Low16(capi_.CAPI_PUT_MESSAGE(ApplID, const_cast<std::uint8_t*>(message.data())));
}

void TCAPI::Open() {
    // An Open without a Close in between: the earlier thread must not wait on beside the new.
    if (WaitThread) WaitThread->Terminate();

    DWORD applId = ApplID;
    const DWORD result = capi_.CAPI_REGISTER(kMessageBufferSize, kMaxLogicalConnections,
                                             kMaxBDataBlocks, kMaxBDataLength, &applId);
    LastError = Low16(result);
    registered_ = result == 0;
    if (registered_) ApplID = applId;

    WaitThread = std::make_unique<TCAPIWaitThread>(capi_.CAPI_WAIT_FOR_SIGNAL, ApplID, sink_.get(),
                                                   ++generation_);
    WaitThread->SetPriority(WaitPriorityValue(kDefaultWaitPriorityIndex));
    WaitThread->Resume();

    SetListen(true);
}

void TCAPI::Close() {
    SetListen(false);
    // Releasing an id twice, or one that was never handed out, could end another
    // application's registration: only the registration this component holds is released.
    if (registered_) {
        LastError = Low16(capi_.CAPI_RELEASE(ApplID));
        registered_ = false;
    }
    numbers_.Clear();
    if (WaitThread) {
        WaitThread->Terminate();
        WaitThread.reset();  // the thread ends on its own once the library lets it return
    }
}

void TCAPI::SetListen(bool on) {
    if (on == Listening) return;
    Listening = on;
    Put(EncodeListenReq(ApplID, 0, Controller, on));
}

std::uint16_t TCAPI::GetControllerCount() {
    std::array<std::uint8_t, 64> profile{};
    const DWORD result = capi_.CAPI_GET_PROFILE(profile.data(), 0);
    LastError = Low16(result);
    if (result != 0) return 0;  // a failed call may leave anything in the buffer
    return static_cast<std::uint16_t>(profile[0] | (profile[1] << 8));
}

void TCAPI::SetController(std::uint16_t n) {
    if (n == Controller) return;
    Controller = n > GetControllerCount() ? 1 : n;
}

void TCAPI::SetWaitPriority(int index) {
    if (WaitThread) WaitThread->SetPriority(WaitPriorityValue(index));
}

void TCAPI::ReceiveMessage() {
    void* message = nullptr;
    LastError = Low16(capi_.CAPI_GET_MESSAGE(ApplID, &message));
    if (LastError == 0 && message) HandleMessage(message);
}

void TCAPI::HandleMessage(const void* message) {
    if (!message) return;
    // The library hands over a pointer only; the message's own total length bounds it.
    const auto* bytes = static_cast<const std::uint8_t*>(message);
    const std::uint16_t length = StatedLength({bytes, 2});
    const ReceivedMessage m = DecodeMessage({bytes, length});

    switch (m.kind) {
        case ReceivedMessage::Kind::Confirmation:
            LastError = m.info;
            break;
        case ReceivedMessage::Kind::ConnectInd: {
            const auto& c = m.connect;
            numbers_.ConnectIndicated(static_cast<std::uint32_t>(c.plci), m.header.messageNumber);
            // A copy: the handler may replace the event while it runs.
            if (auto handler = OnConnectInd) {
                handler(c.plci, c.cipValue, c.calledNumber, c.callingNumber, c.calledSubaddress,
                        c.callingSubaddress);
            }
            break;
        }
        case ReceivedMessage::Kind::DisconnectInd: {
            const auto& d = m.disconnect;
            numbers_.DisconnectIndicated(static_cast<std::uint32_t>(d.plci),
                                         m.header.messageNumber);
            DisconnectResp(d.plci);  // answered first, with or without a handler
            if (auto handler = OnDisconnectInd) handler(d.plci, d.reason);
            break;
        }
        case ReceivedMessage::Kind::Ignored:
            break;
    }
}

void TCAPI::AlertReq(std::int32_t PLCI) {
    Put(EncodeAlertReq(ApplID, 0, PLCI));
}

void TCAPI::ConnectResp(std::int32_t PLCI, std::uint16_t Reject) {
    const auto number = numbers_.TakeForConnectResp(static_cast<std::uint32_t>(PLCI));
    Put(EncodeConnectResp(ApplID, number, PLCI, Reject));
}

void TCAPI::DisconnectReq(std::int32_t PLCI) {
    Put(EncodeDisconnectReq(ApplID, 0, PLCI));
}

void TCAPI::DisconnectResp(std::int32_t PLCI) {
    const auto number = numbers_.TakeForDisconnectResp(static_cast<std::uint32_t>(PLCI));
    Put(EncodeDisconnectResp(ApplID, number, PLCI));
}

}  // namespace telvor
