#include "monitor/CallPipeline.h"

#include <algorithm>

#include "base/StringTable.h"
#include "capi/ServiceGroup.h"
#include "monitor/Dmail.h"
#include "monitor/NetworkCall.h"
#include "monitor/Tooltip.h"
#include "numbers/Numbers.h"
#include "store/AppSettings.h"
#include "store/CallerIndex.h"
#include "store/SettingsStore.h"

namespace telvor {

namespace {

// The offset of a call's flag among the six service flags, which follow each CallerKnown
// flag in the order of ServiceGroup.
int ServiceFlagOffset(std::uint16_t cipValue) {
    return static_cast<int>(ServiceGroupOf(cipValue)) - static_cast<int>(ServiceGroup::Audio);
}

bool EndsWithWav(std::string_view program) {
    if (program.size() < 4) return false;
    std::string tail(program.substr(program.size() - 4));
    for (char& c : tail) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');  // ASCII only
    }
    return tail == ".WAV";
}

}  // namespace

MsnSearchResult FindMsnEntry(SettingsStore& store, std::string_view calledNumber,
                             std::uint16_t cipValue) {
    const int offset = ServiceFlagOffset(cipValue);
    MsnSearchResult result;
    for (unsigned index = 0;; ++index) {
        // Only the number of an entry is read until it matches: each value costs a registry
        // read, and most entries are other MSNs.
        const std::string number =
            store.ReadString(MsnSectionName(index), "Number", kMissingMsnNumber);
        if (number == kMissingMsnNumber) break;
        if (number != calledNumber) continue;
        MsnEntry entry;
        if (!ReadMsnEntry(store, index, entry)) break;
        result.matched = true;
        result.name = std::move(entry.name);
        result.programm = std::move(entry.programm);
        result.parameter = std::move(entry.parameter);
        result.dmail = entry.dmail;
        result.flags = entry.flags;
        result.show = entry.flags[ShowAudio + offset];
        result.record = entry.flags[RecordAudio + offset];
        if (result.show || result.record) return result;
    }
    // Reached the end of the list: no entry enabled the service.
    result.show = false;
    result.record = false;
    return result;
}

CallerLabels MakeCallerLabels(const CallContext& call, std::uint16_t cipValue) {
    CallerLabels labels;
    if (call.callingNumber.empty()) {
        labels.number = UnknownCallerText;
    } else if (call.townFound) {
        // The area code keeps its prefix as typed ("+44"), while the number went through the
        // keypad conversion, which drops characters such as "+": the code's part of the number
        // is as long as its own keypad form. Never cut past the end.
        const std::size_t codeLength =
            std::min(KeypadDigits(call.areaCode).size(), call.callingNumber.size());
        const std::string rest = call.callingNumber.substr(codeLength);
        labels.number = "(" + call.areaCode + ") " + rest;
        labels.hiddenNumber = call.areaCode + " " + rest;
    } else {
        labels.number = call.callingNumber;
        labels.hiddenNumber = call.callingNumber;
    }
    labels.msn =
        call.msnName.empty() ? call.calledNumber : call.msnName + " (" + call.calledNumber + ")";
    labels.service = ServiceText(cipValue);
    labels.name = call.callerName;
    labels.databaseButton = call.notExact && !call.callingNumber.empty();
    labels.dateTime = call.time.shortDate + "  " + call.time.shortTime;
    labels.town = call.town;
    return labels;
}

TemplateValues MakeTemplateValues(const CallContext& call, const CallerLabels& labels) {
    TemplateValues values;
    values.name = labels.name;
    values.number = labels.hiddenNumber;
    values.msnNumber = call.calledNumber;
    values.msn = call.msnName;
    values.service = labels.service;
    values.time = call.time.shortTime;
    values.date = call.time.shortDate;
    values.town = call.town;
    return values;
}

CallContext CallHandlers::BuildContext(const IncomingCall& event, const CallInputs& in) {
    CallContext call;
    // 1. The time of the call.
    call.time = event.time ? *event.time : clock_.Now();

    // 2. Split off the type and presentation octets.
    std::string digits;
    if (!event.callingNumber.empty()) {
        call.typeOctet = static_cast<unsigned char>(event.callingNumber[0]);
        if (event.callingNumber.size() > 2) digits = event.callingNumber.substr(2);
    }

    // 3. and 4. Town and prefix by the type of number.
    call.town = UnknownCallerText;
    const std::string national = in.store.ReadString(kSettingsSection, "NationalCalls", "0");
    const std::string international =
        in.store.ReadString(kSettingsSection, "InternationalCalls", "00");
    NormalisedNumber normalised =
        NormaliseCallingNumber(call.typeOctet, digits, in.areaCodes, national, international);
    if (normalised.kind != NumberKind::Neither && normalised.town.found) {
        call.townFound = true;
        call.town = normalised.town.town;
        call.areaCode = normalised.town.areaCode;
    }
    const std::string& prefixed =
        normalised.kind == NumberKind::Neither ? digits : normalised.number;

    // 5. Keypad conversion of both numbers.
    call.callingNumber = KeypadDigits(prefixed);
    // A server's line that names no MSN is shown as the server named it.
    call.calledNumber = event.lineListed ? KeypadDigits(event.calledNumber) : event.calledNumber;

    // 6. The MSN entry and the call's show and record decision.
    MsnSearchResult msn = FindMsnEntry(in.store, call.calledNumber, event.cipValue);
    call.msnName = std::move(msn.name);
    call.msnProgram = std::move(msn.programm);
    call.msnParameter = std::move(msn.parameter);
    call.msnDmail = msn.dmail;
    call.msnFilter = msn.flags;
    call.show = msn.show;
    call.record = msn.record;
    // A server's line that no MSN entry names is shown and recorded as a new entry would be:
    // its calls are what the user connected the server for.
    if (event.origin == CallOrigin::Network && !event.lineListed) {
        const MsnFlags defaults = DefaultMsnFlags();
        const int offset = ServiceFlagOffset(event.cipValue);
        call.show = defaults[ShowAudio + offset];
        call.record = defaults[RecordAudio + offset];
    }

    // 7. The caller database: the longest matching prefix names the caller.
    call.callerName = UnknownCallerText;
    if (!call.callingNumber.empty()) {
        CallerMatch caller =
            in.callers.Lookup(std::string(in.callerDatabasePath), call.callingNumber);
        if (caller.found) {
            call.callerName = std::move(caller.name);
            call.callerProgram = std::move(caller.program);
            call.callerParameter = std::move(caller.parameter);
            call.callerDmail = caller.dmail;
            call.notFound = false;
            call.notExact = !caller.exact;
        }
    }
    // The server's name stands in for an unknown caller; the caller stays unknown to the
    // database, so its button still offers to add the number.
    if (call.notFound && !event.networkName.empty()) call.callerName = event.networkName;
    return call;
}

void CallHandlers::NotifyDmail(const CallContext& call, const CallerLabels& labels,
                               const CallInputs& in) {
    DmailFacts facts;
    facts.hasCallingNumber = !call.callingNumber.empty();
    facts.callerName = call.callerName;
    facts.callerMarker = call.callerDmail;
    facts.msnMarker = call.msnDmail;
    if (!DmailMessageDue(in.settings.dmWhenMessage, facts)) return;
    ports_.SendDmailMessage(
        ExpandTemplate(in.settings.dmMessage, MakeTemplateValues(call, labels)));
}

void CallHandlers::RunAction(std::string_view program, std::string_view parameter,
                             const TemplateValues& values, SoundMode mode) {
    if (program.empty()) return;
    if (EndsWithWav(program)) {
        ports_.PlaySound(program, mode);
    } else {
        ports_.StartProgram(program, ExpandTemplate(parameter, values));
    }
}

void CallHandlers::CallPipeline(const IncomingCall& event, const CallInputs& in) {
    const AppSettings& settings = in.settings;
    // Steps 1 to 7.
    const CallContext call = BuildContext(event, in);

    // 8. The caller window, hidden.
    const CallerLabels labels = MakeCallerLabels(call, event.cipValue);
    const CallerWindowId window = ports_.CreateCallerWindow(labels);

    // 9. Recording; Record.CallerKnown leaves out calls without number.
    if (call.record && (!call.callingNumber.empty() || !call.msnFilter[RecordCallerKnown])) {
        ProtocolFields fields{call.time.shortDate, call.time.shortTime, labels.name,
                              labels.number,       labels.service,      labels.msn};
        ports_.WriteProtocolLine(FormatProtocolLine(fields, ReadProtocolSeparator(in.store)));
        ports_.StoreCallListEntry(MakeCallListEntry(labels.name, labels.number, labels.msn,
                                                    call.time.dayCount, call.time.shortDate,
                                                    call.time.shortTime, call.notFound));
    }

    // 10. Auto-close timer.
    if (settings.closeCallerForms && settings.closeAfterTime) {
        ports_.StartAutoClose(window, settings.closeTime);
    }

    const bool onLine = event.origin == CallOrigin::Line;
    // 11. Calls filtered from display.
    if (!call.show || (call.callingNumber.empty() && call.msnFilter[ShowCallerKnown])) {
        NotifyDmail(call, labels, in);
        if (onLine) ports_.IgnoreCall(event.plci);
        ports_.DiscardCallerWindow(window);
        return;
    }

    // 12. Tooltip and "LastCall".
    const std::string tooltip = CallTooltip(
        {call.callerName, labels.number, call.msnName, labels.msn, call.time.shortTime});
    ports_.SetTrayTip(TrayTip(tooltip));
    if (!in.noIcon) ports_.NotifyTray();
    in.store.WriteString(kSettingsSection, "LastCall", tooltip);

    // 13. Client machines: the NCID clients whenever a server runs, the NetDDE clients when
    // forwarding is on.
    ports_.AnnounceCall(event.plci, MakeNcidCall(call, labels));
    if (settings.enableNetDde) {
        ports_.ForwardToClients({labels.name, labels.number, labels.town, labels.msn,
                                 labels.dateTime, labels.service, tooltip});
    }

    // 14. Display switched off: everything above still happened.
    if (in.callsSuspended) {
        NotifyDmail(call, labels, in);
        if (onLine) ports_.IgnoreCall(event.plci);
        ports_.DiscardCallerWindow(window);
        return;
    }

    // 15. Show and list the window.
    ports_.ShowCallerWindow(window, event.plci);
    windows_.Append(event.plci, window);

    // 16. dmail pro; this may pump messages for up to a minute, and the user may close the
    // caller window meanwhile, so later steps touch it only while it is still listed.
    NotifyDmail(call, labels, in);
    const bool windowAlive = windows_.Contains(window);

    // 17. The CAPI answer; a network call has none, and nothing here can reject it.
    if (!onLine) {
        if (windowAlive) ports_.EnableReject(window, false);
    } else if (settings.initAlways) {
        if (windowAlive) ports_.EnableReject(window, false);
        ports_.IgnoreCall(event.plci);
        ports_.Reinitialise();
    } else if (settings.alert || (settings.closeAfterConnect && settings.closeCallerForms)) {
        ports_.AlertCall(event.plci);
        heldCalls_.push_back(event.plci);
        ++holdingCount_;
        ports_.SetTrayPicture(TrayPicture::CallerWindow);
        if (!in.noIcon) ports_.NotifyTray();
        if (windowAlive) ports_.EnableReject(window, true);
    } else {
        ports_.IgnoreCall(event.plci);
        if (windowAlive) ports_.EnableReject(window, false);
    }

    // 18. The bring-to-front command.
    ports_.EnableBringToFront(true);

    // 19. and 20. The caller's and the MSN's sound or program.
    const TemplateValues values = MakeTemplateValues(call, labels);
    RunAction(call.callerProgram, call.callerParameter, values, SoundMode::Sync);
    RunAction(call.msnProgram, call.msnParameter, values, SoundMode::Async);
}

void CallHandlers::DisconnectHandler(std::int32_t plci, std::uint16_t /*reason*/,
                                     const CallInputs& in) {
    const AppSettings& settings = in.settings;
    if (!(settings.alert || (settings.closeAfterConnect && settings.closeCallerForms))) return;

    // 1. The call's window, if it is still listed.
    if (auto window = windows_.TakeByPlci(plci)) {
        ports_.EnableReject(*window, false);
        if (settings.alert) ports_.MarkCallCleared(*window);
        if (settings.closeAfterConnect) ports_.CloseCallerWindow(*window);
    }

    // 2. Only the clearing of a held call ends a hold.
    auto held = std::find(heldCalls_.begin(), heldCalls_.end(), plci);
    if (held != heldCalls_.end()) {
        heldCalls_.erase(held);
        --holdingCount_;
    }
    if (holdingCount_ <= 0) {
        ports_.SetTrayPicture(in.callsSuspended ? TrayPicture::DisplayOff : TrayPicture::Normal);
        if (!in.noIcon) ports_.NotifyTray();
        holdingCount_ = 0;
    }

    // 3. The bring-to-front command needs a listed window.
    if (windows_.Empty()) ports_.EnableBringToFront(false);
}

}  // namespace telvor
