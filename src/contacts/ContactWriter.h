#pragma once
// The names list's rows as address-book files.
#include <string>
#include <vector>

#include "store/CallerDatabase.h"

namespace telvor::contacts {

// vCard 3.0, UTF-8, CR LF, lines folded at 75 bytes: per row FN and N (the whole name as
// family name: a list row does not know which part is which), TEL with the number.
std::string WriteVCards(const std::vector<CallerRow>& rows);

// UTF-8 with byte order mark (so that a spreadsheet does not take it for ANSI), CR LF,
// semicolons (what a German spreadsheet splits at), fields quoted where they need it:
// "Name;Telefon;Programm;Parameter".
std::string WriteCsv(const std::vector<CallerRow>& rows);

}  // namespace telvor::contacts
