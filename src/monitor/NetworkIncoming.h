#pragma once
// A call an NCID server reported, in the form the call pipeline takes a ring of the line: the
// number with the type of number the line would have given it, the called MSN found by the
// server's line id, the service of a telephone call.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "monitor/CallPipeline.h"
#include "ncid/NcidCall.h"

namespace telvor {

class SettingsStore;

// The CIP value of a network call: speech ("Telefongespräch oder Analog"), since the protocol
// says nothing of the service.
inline constexpr std::uint16_t kNetworkCallCip = 1;

// The calling number as the line carries it: type octet, presentation octet, digits. "+" and
// the international prefix make an international number (national with the own country's
// code), the national prefix a national one (the prefixes go: the pipeline puts them back);
// anything else is a number of unknown type, taken as it is. Empty for an empty number.
std::string LineFormCallingNumber(std::string_view number, std::string_view nationalPrefix,
                                  std::string_view internationalPrefix);

// The MSN entry a server's line id stands for: the first whose number is the id, else the
// first whose name is the id (letters compared without case). Unlisted: the id itself.
struct NetworkLine {
    bool listed = false;
    std::string calledNumber;
};
NetworkLine MatchNetworkLine(SettingsStore& store, std::string_view lineId);

// Date and time of a CID line ("mmddyyyy", "hhmm") when they name a real minute.
struct CalendarMinute {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};
std::optional<CalendarMinute> NcidCallMinute(std::string_view date, std::string_view time);

// The call as the pipeline takes it, without its time (the Windows layer formats that).
IncomingCall NetworkIncomingCall(const NcidCall& call, std::int32_t id, SettingsStore& store);

}  // namespace telvor
