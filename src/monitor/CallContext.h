#pragma once
// The working data of one incoming call, built step by step by the call pipeline.
#include <cstdint>
#include <string>

#include "monitor/Clock.h"
#include "store/AppSettings.h"

namespace telvor {

struct CallContext {
    ClockReading time;            // when the event was handled
    unsigned char typeOctet = 0;  // first octet of the calling party number, 0 without one
    std::string callingNumber;    // prefixed and passed through KeypadDigits
    std::string calledNumber;     // passed through KeypadDigits
    bool townFound = false;
    std::string town;      // UnknownCallerText when no area code matched
    std::string areaCode;  // prefix + area code ("0711"), empty when none matched
    std::string msnName;   // the last matching MSN entry's texts ...
    std::string msnProgram;
    std::string msnParameter;
    bool msnDmail = false;
    MsnFlags msnFilter = DefaultMsnFlags();  // ... and its flags
    bool show = false;
    bool record = false;
    std::string callerName;  // UnknownCallerText when the database has no match
    std::string callerProgram;
    std::string callerParameter;
    bool callerDmail = false;
    bool notFound = true;
    bool notExact = true;
};

}  // namespace telvor
