#pragma once
// Which calls produce a dmail pro message, and the data poked to it. The DDE exchange itself
// lives in the Windows layer.
#include <string>
#include <string_view>

namespace telvor {

// DMWhenMessage: 0 every call, 1 calls with a number, 2 marked callers or MSNs, 3 never;
// any other value also means never.
enum DmailWhen : long long {
    DmailAlways = 0,
    DmailWithNumber = 1,
    DmailMarked = 2,
    DmailNever = 3
};

struct DmailFacts {
    bool hasCallingNumber = false;
    std::string_view callerName;  // UnknownCallerText when the database had no match
    bool callerMarker = false;    // the best database match carries the dmail marker
    bool msnMarker = false;       // the matched MSN entry's dmail flag
};

bool DmailMessageDue(long long dmWhenMessage, const DmailFacts& facts);

// The CF_TEXT poke to item "SEND": receiver CR LF text CR LF and a terminating NUL (part of
// the returned string's size).
std::string DmailPokeData(std::string_view receiver, std::string_view text);

// The working directory for starting dmail pro: everything up to and including the path's
// last '\' or ':'; empty when it has neither.
std::string DmailWorkingDirectory(std::string_view dmPath);

}  // namespace telvor
