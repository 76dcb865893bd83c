// Received CAPI messages: the decoder's bounds rule, then a decoded CONNECT_IND through the
// whole call pipeline (numbers, area codes, labels, templates) against effects that do nothing.
#include <string>

#include "Harnesses.h"
#include "LabelCheck.h"
#include "base/StringTable.h"
#include "capi/CapiMessage.h"
#include "monitor/CallPipeline.h"
#include "numbers/Numbers.h"
#include "store/AppSettings.h"
#include "store/CallerIndex.h"
#include "store/MemorySettingsStore.h"
#include "store/posix/PosixFileAccess.h"

namespace telvor::fuzz {
namespace {

class NullPorts : public CallPorts {
  public:
    CallerLabels labels;
    CallerWindowId CreateCallerWindow(const CallerLabels& l) override {
        labels = l;
        return ++next_;
    }
    void StartAutoClose(CallerWindowId, long long) override {}
    void ShowCallerWindow(CallerWindowId, std::int32_t) override {}
    void DiscardCallerWindow(CallerWindowId) override {}
    void EnableReject(CallerWindowId, bool) override {}
    void MarkCallCleared(CallerWindowId) override {}
    void CloseCallerWindow(CallerWindowId) override {}
    void WriteProtocolLine(std::string_view) override {}
    void StoreCallListEntry(const CallListEntry&) override {}
    void SetTrayTip(std::string_view tip) override { Check(tip.size() <= 63, "tray tip cut"); }
    void SetTrayPicture(TrayPicture) override {}
    void NotifyTray() override {}
    void EnableBringToFront(bool) override {}
    void ForwardToClients(const ForwardLines&) override {}
    void AnnounceCall(std::int32_t, const NcidCall&) override {}
    void SendDmailMessage(std::string_view) override {}
    void IgnoreCall(std::int32_t) override {}
    void AlertCall(std::int32_t) override {}
    void Reinitialise() override {}
    void PlaySound(std::string_view, SoundMode) override {}
    void StartProgram(std::string_view, std::string_view) override {}

  private:
    CallerWindowId next_ = 0;
};

class FixedClock : public Clock {
  public:
    ClockReading Now() override { return {46363.6076, "07.12.26", "14:35"}; }
};

struct World {
    MemorySettingsStore store;
    AreaCodeList areaCodes;
    World() {
        LoadStartupTexts();
        MsnEntry office;
        office.number = "4711";
        office.name = "Büro";
        office.parameter = "&NAME &NUMBER &TOWN";
        MsnEntry hidden;
        hidden.number = "4712";
        hidden.flags.fill(false);
        MsnEntry empty;  // a call without called number
        WriteMsnList(store, {office, hidden, empty});
        areaCodes.SetLines({"N711\tStuttgart", "I44\tGroßbritannien", "N30\tBerlin", "i1\tUSA",
                            "N\tnur Kennung", "I49\tunbekannt"});
    }
};

// Prefix pairs (national, international), picked by the PLCI: typed forms with characters the
// keypad conversion drops included.
constexpr const char* kPrefixes[][2] = {{"0", "00"}, {"+", "+"}, {"", ""}, {"0 ", "+ 49 (0)"}};

void CheckValue(const std::string& value) {
    Check(value.size() <= capi::kValueRoom, "value longer than its room");
    Check(value.find('\0') == std::string::npos, "value holds a zero octet");
}

}  // namespace

void CapiMessage(Input data) {
    static World world;
    const ReceivedMessage message = DecodeMessage(data);
    const std::size_t length = std::min<std::size_t>(data.size(), StatedLength(data));
    if (message.kind == ReceivedMessage::Kind::Ignored) return;
    Check(length >= 12, "decoded a message shorter than its fixed parameters");
    if (message.kind != ReceivedMessage::Kind::ConnectInd) return;
    Check(length >= 14, "CONNECT_IND without PLCI and CIP value");
    const ConnectIndication& c = message.connect;
    for (const std::string* value :
         {&c.calledNumber, &c.callingNumber, &c.calledSubaddress, &c.callingSubaddress}) {
        CheckValue(*value);
    }
    Check(c.calledNumber.size() + c.callingNumber.size() + c.calledSubaddress.size() +
                  c.callingSubaddress.size() <=
              length - 14,
          "values longer than the message");

    const unsigned bits = static_cast<unsigned>(c.plci);
    const auto& prefixes = kPrefixes[bits & 3];
    world.store.WriteString(kSettingsSection, "NationalCalls", prefixes[0]);
    world.store.WriteString(kSettingsSection, "InternationalCalls", prefixes[1]);
    AppSettings settings;
    settings.closeCallerForms = bits & 4;
    settings.closeAfterConnect = bits & 8;
    settings.alert = bits & 16;
    settings.initAlways = bits & 32;
    settings.dmWhenMessage = 0;
    settings.dmMessage = "&NAME (&NUMBER) &MSN &TOWN &";

    NullPorts ports;
    FixedClock clock;
    CallHandlers handlers(ports, clock);
    const PosixFileAccess files;
    CallerIndex callers(files);
    const CallInputs in{world.store,      settings, world.areaCodes, "", callers,
                        (bits & 64) != 0, false};
    IncomingCall call;
    call.plci = c.plci;
    call.cipValue = c.cipValue;
    call.calledNumber = c.calledNumber;
    call.callingNumber = c.callingNumber;
    call.calledSubaddress = c.calledSubaddress;
    call.callingSubaddress = c.callingSubaddress;
    handlers.CallPipeline(call, in);

    // The number texts against the number as the pipeline converts it.
    const std::string digits = c.callingNumber.size() > 2 ? c.callingNumber.substr(2) : "";
    const unsigned char type = c.callingNumber.empty() ? 0 : c.callingNumber[0];
    const NormalisedNumber n =
        NormaliseCallingNumber(type, digits, world.areaCodes, prefixes[0], prefixes[1]);
    const std::string number = KeypadDigits(n.kind == NumberKind::Neither ? digits : n.number);
    CheckNumberLabels(ports.labels, n, number);

    handlers.DisconnectHandler(c.plci, 0, in);
    Check(handlers.HoldingCount() >= 0, "negative holding count");
}

}  // namespace telvor::fuzz
