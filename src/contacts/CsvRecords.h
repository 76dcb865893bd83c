#pragma once
// Records of a CSV text as RFC 4180 writes them: fields in double quotes may hold the
// separator, line breaks and quotes (doubled).
#include <string>
#include <string_view>
#include <vector>

namespace telvor::contacts {

// The separator of the header line: whichever of ',' ';' and TAB occurs most often outside
// quotes in it (',' when none does).
char DetectSeparator(std::string_view text);

// Records end at CR LF, LF or CR outside quotes; empty lines are no records. Readers are
// lenient where writers go wrong: a quote that is never closed runs to the end of the text,
// and text after a closing quote belongs to the field.
std::vector<std::vector<std::string>> ReadCsvRecords(std::string_view text, char separator);

}  // namespace telvor::contacts
