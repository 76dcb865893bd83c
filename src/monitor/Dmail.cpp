#include "monitor/Dmail.h"

#include "base/StringTable.h"

namespace telvor {

bool DmailMessageDue(long long dmWhenMessage, const DmailFacts& facts) {
    switch (dmWhenMessage) {
        case DmailAlways:
            return true;
        case DmailWithNumber:
            return facts.hasCallingNumber;
        case DmailMarked: {
            // The marker only counts for a caller the database could name.
            const bool callerMarked = facts.callerMarker && facts.callerName != UnknownCallerText;
            return callerMarked || facts.msnMarker;
        }
        default:
            return false;
    }
}

std::string DmailPokeData(std::string_view receiver, std::string_view text) {
    std::string data;
    data.reserve(receiver.size() + text.size() + 5);
    data.append(receiver).append("\r\n").append(text).append("\r\n");
    data.push_back('\0');
    return data;
}

std::string DmailWorkingDirectory(std::string_view dmPath) {
    const auto pos = dmPath.find_last_of("\\:");
    if (pos == std::string_view::npos) return {};
    return std::string(dmPath.substr(0, pos + 1));
}

}  // namespace telvor
