#pragma once
// Import of address books (vCard 2.1/3.0/4.0, CSV as address-book programs export it) into
// the rows of the configuration dialog's names list, and export of those rows.
//
// Use in the dialog:
//   ContactImport result = ImportContacts(fileBytes, ContactFormatOfFile(path).value(),
//                                         ReadNumberPrefixes(store), areaCodes, rows);
//   if (result.status == ContactImportStatus::Ok) append result.rows to the list;
//   std::string bytes = ExportContacts(rows, ContactFormat::VCard);  // write to the file
//
// Every text of a row is Windows-1252; characters it cannot hold arrive as '?'.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numbers/Numbers.h"
#include "store/CallerDatabase.h"
#include "store/SettingsStore.h"

namespace telvor {

enum class ContactFormat { VCard, Csv };

// By the file name's extension, any case: ".vcf" and ".vcard" are vCard, ".csv" is CSV.
std::optional<ContactFormat> ContactFormatOfFile(std::string_view fileName);

// The prefixes a number is written with in the caller database.
struct NumberPrefixes {
    std::string national = "0";
    std::string international = "00";
    // The own country's calling code: international numbers of this country become national
    // ones.
    std::string ownCountry = kOwnCountryCode;
};

// "NationalCalls" and "InternationalCalls" of the settings (defaults "0" and "00").
NumberPrefixes ReadNumberPrefixes(SettingsStore& store);

enum class ContactImportStatus {
    Ok,
    NotVCard,      // no "BEGIN:VCARD" line: not a vCard file
    NoPhoneColumn  // the CSV header names no column of telephone numbers
};

struct ContactImport {
    ContactImportStatus status = ContactImportStatus::Ok;
    std::vector<CallerRow> rows;  // new rows in file order, fields cut to the record's rooms
    std::size_t added = 0;        // rows.size()
    std::size_t known = 0;        // numbers already in the list (or earlier in the same file)
    std::size_t unusable = 0;     // telephone fields with no digit in them
};

// One row per telephone number of each contact. `existing` are the rows already in the list:
// a number that is there (compared in keypad digits) keeps its row and is counted as known.
// A failed status adds nothing.
ContactImport ImportContacts(std::string_view bytes, ContactFormat format,
                             const NumberPrefixes& prefixes, const AreaCodeList& areaCodes,
                             const std::vector<CallerRow>& existing);

// The rows as a file: vCard 3.0 in UTF-8 (one card per row: FN, N, TEL) or CSV in UTF-8 with
// byte order mark, separated by semicolons, with the header "Name;Telefon;Programm;Parameter"
// (what a German spreadsheet opens as columns). Rows without a number, and the placeholder of
// a new entry, are left out.
std::string ExportContacts(const std::vector<CallerRow>& rows, ContactFormat format);

}  // namespace telvor
