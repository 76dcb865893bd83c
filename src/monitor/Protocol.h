#pragma once
// Recording a call: the protocol file line.
#include <string>
#include <string_view>

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

}  // namespace telvor
