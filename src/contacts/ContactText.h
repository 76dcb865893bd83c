#pragma once
// Small text rules the address-book readers share (all on Windows-1252 text).
#include <string>
#include <string_view>

namespace telvor::contacts {

// The value of a hexadecimal digit (%XX in URIs, =XX in quoted-printable); -1 for others.
int HexValue(char c);

// ASCII and the Latin-1 letters of Windows-1252 in lower case.
std::string LowerCp1252(std::string_view text);

// Without blanks, tabs and line breaks at either end.
std::string_view TrimBlanks(std::string_view text);

// A name as a list row shows it: control characters (line breaks of multi-line fields among
// them) become blanks, blanks at either end go.
std::string CleanName(std::string_view text);

// `first` and `second` joined by a blank, either of them empty or both.
std::string JoinNames(std::string_view first, std::string_view second);

}  // namespace telvor::contacts
