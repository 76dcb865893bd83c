#pragma once
// The handlers of the CAPI monitor's two call events: CallPipeline for every offered call,
// DisconnectHandler for every cleared one. They hold the state that lives across calls (the
// listed caller windows and the held calls) and act only through CallPorts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/CallContext.h"
#include "monitor/CallPorts.h"
#include "monitor/CallerWindows.h"
#include "monitor/Clock.h"
#include "monitor/Template.h"

namespace telvor {

class AreaCodeList;
class CallerIndex;
class SettingsStore;
struct AppSettings;

// Where a call was offered: on the CAPI line, or by an NCID server on the network. A network
// call cannot be answered or rejected from here, so the handlers send it no CAPI message.
enum class CallOrigin { Line, Network };

// The arguments of OnConnectInd; a network call comes in the same form (NetworkIncoming.h).
struct IncomingCall {
    std::int32_t plci = 0;  // a network call's id is negative, so it never meets a PLCI
    std::uint16_t cipValue = 0;
    std::string calledNumber;   // digits, without the type octet
    std::string callingNumber;  // type octet, presentation octet, digits; empty without number
    std::string calledSubaddress;
    std::string callingSubaddress;

    CallOrigin origin = CallOrigin::Line;
    // Network calls only: the server's name for the caller, used where the caller database
    // knows none (already made safe); whether the line matched an MSN entry; when the server
    // saw the call (none: the handling's own time).
    std::string networkName;
    bool lineListed = true;
    std::optional<ClockReading> time;
};

// What a handler consults besides the event. The store is read afresh on every call (MSN
// list, prefixes, separator) and receives "LastCall"; a StoreError it raises ends the handler
// and is left to the program's top-level handler, like every store failure. The caller index
// lives as long as the handlers and answers for whatever file callerDatabasePath names now.
struct CallInputs {
    SettingsStore& store;
    const AppSettings& settings;
    const AreaCodeList& areaCodes;
    std::string_view callerDatabasePath;
    CallerIndex& callers;
    bool callsSuspended = false;
    bool noIcon = false;
};

// The outcome of the MSN search for one called number.
struct MsnSearchResult {
    bool matched = false;  // some entry has the called number
    std::string name, programm, parameter;
    bool dmail = false;
    MsnFlags flags = DefaultMsnFlags();
    bool show = false;
    bool record = false;
};

// Walks the MSN list: the first entry with the called number whose flags enable the service
// group for showing or recording decides; when none does, show and record are false while the
// texts and flags of the last entry with that number remain.
MsnSearchResult FindMsnEntry(SettingsStore& store, std::string_view calledNumber,
                             std::uint16_t cipValue);

// The caller window's texts, derived from a completed context and the call's CIP value.
CallerLabels MakeCallerLabels(const CallContext& call, std::uint16_t cipValue);

// The values a dmail template or a program parameter draws from.
TemplateValues MakeTemplateValues(const CallContext& call, const CallerLabels& labels);

class CallHandlers {
  public:
    CallHandlers(CallPorts& ports, Clock& clock) : ports_(ports), clock_(clock) {}

    // OnConnectInd: the twenty steps from the offered call to its caller and MSN actions.
    void CallPipeline(const IncomingCall& call, const CallInputs& in);
    // OnDisconnectInd (already answered with DISCONNECT_RESP).
    void DisconnectHandler(std::int32_t plci, std::uint16_t reason, const CallInputs& in);

    CallerWindows& Windows() { return windows_; }
    const CallerWindows& Windows() const { return windows_; }
    int HoldingCount() const { return holdingCount_; }

  private:
    CallContext BuildContext(const IncomingCall& call, const CallInputs& in);
    void NotifyDmail(const CallContext& call, const CallerLabels& labels, const CallInputs& in);
    void RunAction(std::string_view program, std::string_view parameter,
                   const TemplateValues& values, SoundMode mode);

    CallPorts& ports_;
    Clock& clock_;
    CallerWindows windows_;
    int holdingCount_ = 0;
    // PLCIs of the calls held with ALERT_REQ and not yet cleared: only their clearing lowers
    // HoldingCount (ignored calls are cleared too and must not end a held call's icon).
    std::vector<std::int32_t> heldCalls_;
};

}  // namespace telvor
