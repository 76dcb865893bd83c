#include "ncid/Greeting.h"

#include "base/Version.h"

namespace telvor {

std::string NcidGreetingHead() {
    return "200 Server: Telvor " TELVOR_VERSION_TEXT
           "\r\n"
           "210 API: 1.14 Feature Set 1 4\r\n";
}

std::string NcidCallLogSection(const std::vector<NcidCall>& calls, bool send,
                               std::size_t maxCalls) {
    if (!send) return "251 Call log not sent\r\n";
    if (calls.empty() || maxCalls == 0) return "252 Call log empty\r\n";
    std::string out = "254 Start of call log\r\n";
    const std::size_t first = calls.size() > maxCalls ? calls.size() - maxCalls : 0;
    for (std::size_t i = first; i < calls.size(); ++i) out += CidLogLine(calls[i]);
    out += "250 End of call log\r\n";
    return out;
}

std::string NcidStartupEnd() {
    return "OPT: country: DE\r\n"
           "300 End of connection startup\r\n";
}

}  // namespace telvor
