#pragma once
// One entry of the call list: the configuration dialog's row and the record of the call-list
// file, made from the texts a caller window shows.
#include <string>
#include <string_view>

#include "store/CallList.h"

namespace telvor {

struct CallListEntry {
    std::string caption;   // caller name; the number as shown when the caller is unknown
    std::string msnText;   // the MSN as shown
    double time = 0;       // days since 30 December 1899
    std::string dateText;  // the same instant, as shown in the dialog's third column
    std::string timeText;
    bool notFound = false;  // the caller matched no database entry
};

CallListEntry MakeCallListEntry(std::string_view name, std::string_view numberText,
                                std::string_view msnText, double time, std::string_view dateText,
                                std::string_view timeText, bool notFound);

// The dialog's third column: date, one blank, time.
std::string CallListDateTimeText(const CallListEntry& entry);

// The record for the call-list file: caption cut to 255 characters, MSN text to 127.
CallRecord ToCallRecord(const CallListEntry& entry);

}  // namespace telvor
