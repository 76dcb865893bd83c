#pragma once
// A call as the NCID clients on the network see it: the CID line's fields, taken from what
// the call pipeline worked out, in the same forms the call log uses for recorded calls.
#include <string_view>

#include "monitor/CallContext.h"
#include "monitor/CallPorts.h"
#include "ncid/NcidCall.h"

namespace telvor {

// DATE and TIME of the call; LINE the MSN's name, else its number; NMBR the digits of the
// shown number (none without one); FNMBR the number as shown; NAME the caller database's name
// (none for an unknown caller); LOCA the town where an area code matched; CTRY the own
// country for a national number, the country of its calling code for an international one
// (written after internationalPrefix, the "InternationalCalls" setting), none for a number
// of another or no type.
NcidCall MakeNcidCall(const CallContext& call, const CallerLabels& labels,
                      std::string_view internationalPrefix);

}  // namespace telvor
