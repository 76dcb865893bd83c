#pragma once
// TCAPI: the program's whole view of the ISDN line. Registers one CAPI application, listens
// for incoming calls of every service on one controller, and turns CONNECT_IND and
// DISCONNECT_IND into events of the main thread. A wait thread blocks in the library and
// hands each signal over to the main thread, waiting until it has been handled there.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "capi/MessageNumbers.h"
#include "capi/win/CapiLibrary.h"
#include "base/win/Handles.h"

namespace telvor {

using TConnectIndEvent =
    std::function<void(std::int32_t PLCI, std::uint16_t CIPValue, const std::string& CalledNumber,
                       const std::string& CallingNumber, const std::string& CalledSubaddress,
                       const std::string& CallingSubaddress)>;
using TDisconnectIndEvent = std::function<void(std::int32_t PLCI, std::uint16_t Reason)>;

// Reaction to a CAPI without any controller. The line only says so; the program decides
// what the user sees and whether it ends.
using ControllerMissingReporter = std::function<void(HWND owner)>;

// The thread that waits in CAPI_WAIT_FOR_SIGNAL. It holds only state it shares with nothing
// but itself: the wait entry point, the application id it was started for, its terminate
// flag and the hand-over window. So a thread left over from a Close never touches the
// component, which may be gone by the time the library lets the thread return. The thread
// ends on its own; this object only owns a handle to it. While it runs it holds a reference
// to the module of its wait entry point, so that unloading the library after a Close cannot
// pull the code out from under a wait that is still returning.
class TCAPIWaitThread {
  public:
    TCAPIWaitThread(CapiWaitForSignalProc wait, std::uint32_t applId, HWND sink,
                    unsigned generation);
    ~TCAPIWaitThread() = default;
    TCAPIWaitThread(const TCAPIWaitThread&) = delete;
    TCAPIWaitThread& operator=(const TCAPIWaitThread&) = delete;

    bool Created() const { return static_cast<bool>(handle_); }
    void SetPriority(int priority);
    void Resume();
    // Sets the terminate flag; never waits for the thread.
    void Terminate();
    unsigned Generation() const { return generation_; }
    HANDLE Handle() const { return handle_.get(); }

  private:
    struct State {
        CapiWaitForSignalProc wait;
        std::uint32_t applId;
        HWND sink;
        unsigned generation;
        std::atomic<bool> terminate{false};
    };
    struct Start {
        std::shared_ptr<State> state;
        HMODULE library;  // the thread's own reference, dropped as it exits
    };
    static DWORD WINAPI Body(void* param);
    static DWORD Loop(State& s);

    std::shared_ptr<State> state_;
    unsigned generation_;
    KernelHandle handle_;
};

class TCAPI {
  public:
    // `owner` is handed to the reaction to a missing controller. `functions` is the
    // process-wide table in the program; tests pass the simulator's.
    TCAPI(HWND owner, const CapiFunctionTable& functions,
          ControllerMissingReporter reportControllerMissing);
    virtual ~TCAPI();
    TCAPI(const TCAPI&) = delete;
    TCAPI& operator=(const TCAPI&) = delete;

    std::uint32_t ApplID = 0;
    bool Listening = false;
    TConnectIndEvent OnConnectInd;
    TDisconnectIndEvent OnDisconnectInd;
    std::unique_ptr<TCAPIWaitThread> WaitThread;
    std::uint16_t LastError = 0;
    std::uint16_t Controller = 1;

    virtual void DisconnectResp(std::int32_t PLCI);
    virtual void ReceiveMessage();
    virtual void HandleMessage(const void* message);
    virtual void ConnectResp(std::int32_t PLCI, std::uint16_t Reject);
    virtual void AlertReq(std::int32_t PLCI);
    virtual void Open();
    virtual void Close();
    virtual void DisconnectReq(std::int32_t PLCI);

    void SetListen(bool on);
    std::uint16_t GetControllerCount();
    void SetController(std::uint16_t n);
    void SetWaitPriority(int index);

  private:
    static LRESULT CALLBACK SinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void HandOver(unsigned generation);
    void Put(const std::vector<std::uint8_t>& message);

    HWND owner_;
    CapiFunctionTable capi_;
    UniqueWindow sink_;
    MessageNumbers numbers_;
    bool registered_ = false;
    unsigned generation_ = 0;
};

}  // namespace telvor
