#pragma once
// The contacts of a CSV file as address-book programs export it, found by the header line's
// column names:
// - Google Contacts: "Name" or "Given Name"/"Family Name" (newer: "First Name"/"Last Name"),
//   "Organization 1 - Name" or "Organization Name", pairs "Phone 1 - Type"/"Phone 1 - Value"
//   (newer: "Phone 1 - Label"); a value cell may hold several numbers joined by " ::: ".
// - Outlook, English and German: "First Name"/"Vorname", "Last Name"/"Nachname",
//   "Company"/"Firma", and one column per kind of number ("Business Phone",
//   "Telefon geschäftlich", "Mobile Phone", "Mobiltelefon", "Business Fax", ...).
// - Telvor's own export: "Name", "Telefon", "Programm", "Parameter".
// Any other column whose name speaks of a telephone, fax, mobile or pager number is read as
// one; telex and phonetic-name columns are not numbers.
#include <optional>
#include <string_view>
#include <vector>

#include "contacts/ContactList.h"

namespace telvor::contacts {

// The text is UTF-8 (with or without byte order mark), UTF-16 with byte order mark, or
// Windows-1252 (when it is not valid UTF-8); the separator is the header line's (',', ';'
// or TAB). Nothing when the header names no column of numbers.
std::optional<std::vector<Contact>> ReadCsvContacts(std::string_view bytes);

}  // namespace telvor::contacts
