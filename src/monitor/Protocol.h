#pragma once
// Recording a call: the protocol file line and the call-list entry.
#include <string>
#include <string_view>

#include "store/CallList.h"

namespace telvor {

class SettingsStore;

// The fields of one protocol line, in line order: the caller window's label texts.
struct ProtocolFields {
    std::string date;
    std::string time;
    std::string name;
    std::string number;
    std::string service;
    std::string msn;
};

// date sep time sep name sep number sep service sep msn CR LF, with sep = separator + " ".
// Fields are written unchanged, even when they contain the separator.
std::string FormatProtocolLine(const ProtocolFields& fields, std::string_view separator);

// The "Separator" of section "Settings" (default ","), read afresh for every line.
std::string ReadProtocolSeparator(SettingsStore& store);

// Appends the line to the protocol file, creating the file when it is missing. Returns false
// when the file cannot be opened or written; the caller ignores that (the line is lost, the
// call goes on).
bool WriteProtocolLine(const std::string& path, std::string_view line);

// One entry of the call list: the dialog row and the record of the call-list file.
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
