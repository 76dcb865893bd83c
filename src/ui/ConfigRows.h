#pragma once
// The rows of the configuration dialog's three lists as plain values, and how they map onto
// what the store reads and writes: callers (CallerRow, store/CallerDatabase.h), MSNs and calls.
#include <string>
#include <vector>

#include "store/AppSettings.h"
#include "store/CallList.h"
#include "store/CallListEntry.h"
#include "store/CallerDatabase.h"

namespace telvor {

// An MSN row: caption, name, program column, dmail column, and the fourteen flags attached.
struct MsnRow {
    std::string number;
    std::string name;
    std::string programColumn;
    std::string dmailColumn;  // "X" or empty
    MsnFlags flags = DefaultMsnFlags();
};

MsnRow ToMsnRow(const MsnEntry& entry);
// Programm and Parameter split from the program column; dmail set when the column is not empty.
MsnEntry ToMsnEntry(const MsnRow& row);
std::vector<MsnEntry> ToMsnEntries(const std::vector<MsnRow>& rows);

// A call row: caption, MSN text, date-time text, and the attached date/time and flag.
struct CallRow {
    std::string caption;
    std::string msnText;
    std::string dateTimeText;
    double time = 0;
    bool notInDatabase = false;
};

CallRow ToCallRow(const CallListEntry& entry);
CallRow ToCallRow(const CallRecord& record, std::string dateTimeText);

// A new names row ("Neuer Eintrag") and a new MSN row ("Neue MSN", default flags).
CallerRow NewCallerRow();
MsnRow NewMsnRow();

}  // namespace telvor
