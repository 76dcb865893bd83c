#pragma once
// A call as the NCID clients on the network see it: the CID line's fields, taken from what
// the call pipeline worked out, in the same forms the call log uses for recorded calls.
#include "monitor/CallContext.h"
#include "monitor/CallPorts.h"
#include "ncid/NcidCall.h"

namespace telvor {

// DATE and TIME of the call; LINE the MSN's name, else its number; NMBR the digits of the
// shown number (none without one); FNMBR the number as shown; NAME the caller database's name
// (none for an unknown caller); LOCA the town where an area code matched.
NcidCall MakeNcidCall(const CallContext& call, const CallerLabels& labels);

}  // namespace telvor
