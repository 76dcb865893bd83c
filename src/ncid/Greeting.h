#pragma once
// What a client gets on connecting, in three parts: the head (server and API lines), after
// which the client may send its HELLO lines; the call log; the end of the start-up.
#include <cstddef>
#include <string>
#include <vector>

#include "ncid/NcidCall.h"

namespace telvor {

inline constexpr std::size_t kNcidLogCalls = 500;

// "200 Server: Telvor <version>" and "210 API: 1.14 Feature Set 1 4". Feature set 1 is the
// server of CID lines and the call log; 4 is acknowledgment, of which this server answers
// REQ: YO (its REQ: ACK needs the gateway feature set 2, which Telvor does not offer).
std::string NcidGreetingHead();

// The call log: "254 Start of call log", a CIDLOG line for each of the last `maxCalls` calls
// (oldest first), "250 End of call log"; "252 Call log empty" without calls; "251 Call log
// not sent" when the client asked for none (HELLO: CMD: no_log).
std::string NcidCallLogSection(const std::vector<NcidCall>& calls, bool send,
                               std::size_t maxCalls = kNcidLogCalls);

// "OPT: country: DE" (required since API 1.11: where the server runs) and "300 End of
// connection startup".
std::string NcidStartupEnd();

}  // namespace telvor
