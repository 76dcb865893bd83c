#pragma once
// Caller texts from the network are untrusted: a template may put them on a command line
// ("%NUMBER%" as an argument of a program the user starts for each call). These keep only
// what such a text needs and drop what a command interpreter acts on.
#include <string>
#include <string_view>

namespace telvor {

// Digits, '+', '*' and '#' (what a keypad dials); everything else goes.
std::string SafeCallerNumber(std::string_view text);

// The name without quotes (" '), control characters (also the C1 ones Windows-1252 leaves
// unassigned) and the characters cmd.exe acts on (% & | < > ^ !); blanks at either end go.
// Windows-1252 in, Windows-1252 out.
std::string SafeCallerName(std::string_view text);

// The protocol's words for "no value" ("-", NO NAME, NO-NUMBER, NO-LINE, NONE, OUT-OF-AREA,
// ANONYMOUS, PRIVATE; any case, blanks around ignored): a caller without number or name.
bool IsNcidNoValue(std::string_view text);

}  // namespace telvor
