#pragma once
// The text a client machine receives for one call: seven lines, each ended by CR LF, then a
// NUL (clipboard format CF_TEXT).
#include <array>
#include <string>

namespace telvor {

// Caller name, number as shown, town, MSN as shown, date and time, service, the call's full
// tray tip; the same seven texts, in this order, as the call handler hands over.
using ForwardPayloadLines = std::array<std::string, 7>;

std::string CallForwardPayload(const ForwardPayloadLines& lines);

}  // namespace telvor
