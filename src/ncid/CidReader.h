#pragma once
// Reading the lines an NCID server sends about calls. A line is its type ("CID:") and
// field pairs "*LABEL*data*", in any order; pairs of unknown labels are skipped. Text on the
// wire is UTF-8; what comes out is Windows-1252, '?' for a character it cannot hold.
//
// Only "CID:" is a call. "CIDLOG:" (the call log sent on connecting), "CIDINFO:" and every
// other type are not: the type is the text up to the first ':', compared whole.
#include <optional>
#include <string>
#include <string_view>

#include "ncid/NcidCall.h"

namespace telvor {

// A "CID:" line as a call, its texts made safe (SafeCallerNumber for NMBR, SafeCallerName
// for the others) and the protocol's no-value words ("NO NAME", "-", "PRIVATE", ...)
// empty. DATE must be 8 digits and TIME 4, else they are empty. When a label occurs twice
// the first counts: a name cannot bring a second NMBR, as NAME comes last. Nothing for any
// other line type and for a CID line without NMBR and NAME.
std::optional<NcidCall> ParseCidLine(std::string_view line);

// The line id of a call that ended: "CIDINFO:" with a RING count of 0 or below (0: ringing
// stopped; -1, -2: ended without or after pickup; -3 busy; -4 hung up by the server), or
// "END:" of an incoming call (CTYPE IN or none). A positive count is a ring, no end. The id
// is made safe like a name; empty when the server gave none.
std::optional<std::string> ParseCallEnd(std::string_view line);

}  // namespace telvor
