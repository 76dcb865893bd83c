#pragma once
// The monitor as a DDE server: service = its program name, topic "TelvorServer", item
// "Register". Every poke of text to "Register" is handed on and acknowledged (DDE_FACK),
// whatever the handler makes of it. Runs on the thread that creates it; one per process,
// since DDEML callbacks carry no context.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/win/Handles.h"

namespace telvor {

class RegisterServer {
  public:
    using PokeHandler = std::function<void(std::string_view text)>;

    RegisterServer(const std::string& service, PokeHandler onRegister);
    ~RegisterServer();
    RegisterServer(const RegisterServer&) = delete;
    RegisterServer& operator=(const RegisterServer&) = delete;

    // False when DDEML or the name service refused: the monitor then runs without it.
    bool Registered() const { return registered_; }

  private:
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2,
                                      HDDEDATA data, ULONG_PTR, ULONG_PTR);
    HDDEDATA Handle(UINT type, UINT format, HSZ topic, HSZ item, HDDEDATA data) noexcept;

    PokeHandler onRegister_;
    bool owner_ = false;  // this object is the process's server
    DdeInstance instance_;
    std::optional<DdeString> service_;
    std::optional<DdeString> topic_;
    std::optional<DdeString> item_;
    bool registered_ = false;
};

}  // namespace telvor
