#pragma once
// A telephone number as an address book writes it, in the form of the caller database:
// prefix and area code, a blank, the number ("0711 1234567", "0044 20 79460958"), so that
// the longest-prefix lookup of the call pipeline finds it for a call from that number.
#include <optional>
#include <string>
#include <string_view>

#include "contacts/AreaCodeIndex.h"
#include "contacts/Contacts.h"

namespace telvor::contacts {

// The rules, in order:
// - A "tel:" URI loses its scheme; its ";ext=" becomes an extension, other parameters go;
//   %XX escapes are decoded.
// - Text before the first digit or '+' ("Tel.: ") is dropped; the number ends at the first
//   letter after it ("0711 123 ext. 5", "0711 123 (Zentrale)"), so letters never turn into
//   keypad digits here. Digits, '*' and '#' are kept; blanks, '-', '/', '.', '(' and ')'
//   only separate groups.
// - "(0)" after an international beginning ("+49 (0)711") is the national prefix that must
//   not be dialled and goes.
// - An extension "-0" at the end ("0711 12345-0", the switchboard) is dropped, so that the
//   entry names the whole company: the lookup takes the longest matching prefix, so a call
//   from any extension finds it. Any other extension ("-123") is a direct line and stays.
// - "+" or the international prefix begins an international number. With the own country
//   code it becomes national (national prefixes written after it are dropped); otherwise it
//   is written as international prefix + country code, a blank, and the rest with one more
//   blank where the file put the first group boundary after the country code (the list
//   knows no foreign area codes): "+44 20 7946 0958" -> "0044 20 79460958".
// - A national number is national prefix + area code, a blank, the rest. The area code is
//   the list's (first line that matches, as for the town of a call); where the list knows
//   none, the file's first group is taken ("(0999) 12" -> "0999 12"), and without a group
//   boundary the digits stay together.
// - Anything else (no prefix: a local number, a service code) is kept as its digits.
// - The result is cut to the number field's 60 characters.
// Nothing when the text holds no digit.
std::optional<std::string> DatabaseNumber(std::string_view text, const NumberPrefixes& prefixes,
                                          const AreaCodeIndex& areaCodes);

}  // namespace telvor::contacts
