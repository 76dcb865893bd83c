#include "netdde/CallForwardPayload.h"

namespace telvor {

std::string CallForwardPayload(const ForwardPayloadLines& lines) {
    std::string payload;
    for (const std::string& line : lines) {
        payload += line;
        payload += "\r\n";
    }
    payload += '\0';
    return payload;
}

}  // namespace telvor
