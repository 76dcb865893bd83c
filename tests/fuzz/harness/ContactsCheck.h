#pragma once
// The rules every address-book import keeps, shared by the vCard and CSV harnesses: rows fit
// the caller database's fields, numbers are in its form and new, and what is exported in
// either format reads back as the same rows.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "Harnesses.h"
#include "contacts/Contacts.h"

namespace telvor::fuzz {

inline const AreaCodeList& FuzzAreaCodes() {
    static const AreaCodeList list = [] {
        AreaCodeList l;
        l.SetLines({"N711\tStuttgart", "N30\tBerlin", "N171\tMobilfunk", "I44\tUK",
                    "I1242\tBahamas", "I1\tUSA"});
        return l;
    }();
    return list;
}

inline bool IsNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '*' || c == '#' || c == ' ';
}

inline void CheckRows(const ContactImport& result) {
    Check(result.added == result.rows.size(), "added differs from the rows");
    std::unordered_set<std::string> numbers;
    for (const CallerRow& row : result.rows) {
        const std::string& n = row.number;
        Check(!n.empty() && n.size() <= 60, "number empty or past its field");
        Check(n.front() != ' ' && n.back() != ' ' && n.find("  ") == std::string::npos,
              "number with a stray blank");
        for (char c : n) Check(IsNumberCharacter(c), "number with a character of no number");
        Check(numbers.insert(KeypadDigits(n)).second, "number added twice");
        Check(row.name.size() <= 255, "name past its field");
        for (char c : row.name)
            Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "control in a name");
        Check(row.name.empty() || (row.name.front() != ' ' && row.name.back() != ' '),
              "name with blanks at its ends");
        Check(row.dmailColumn.empty(), "imported row asks for a message");
    }
}

inline void CheckContactImport(std::string_view bytes, ContactFormat format) {
    const ContactImport result =
        ImportContacts(bytes, format, NumberPrefixes{}, FuzzAreaCodes(), {});
    if (result.status != ContactImportStatus::Ok) {
        Check(result.rows.empty() && result.known == 0 && result.unusable == 0,
              "a failed import reports rows");
        return;
    }
    CheckRows(result);
    for (ContactFormat out : {ContactFormat::VCard, ContactFormat::Csv}) {
        const std::string file = ExportContacts(result.rows, out);
        const ContactImport back = ImportContacts(file, out, NumberPrefixes{}, FuzzAreaCodes(), {});
        // (An empty list exported as vCard is an empty file, which is no vCard.)
        if (result.rows.empty() && out == ContactFormat::VCard) continue;
        Check(back.status == ContactImportStatus::Ok && back.rows.size() == result.rows.size() &&
                  back.unusable == 0 && back.known == 0,
              "export does not read back row for row");
        for (std::size_t i = 0; i < back.rows.size(); ++i) {
            Check(back.rows[i].number == result.rows[i].number, "number changed on the way back");
            Check(back.rows[i].name == result.rows[i].name, "name changed on the way back");
            if (out == ContactFormat::Csv)
                Check(back.rows[i].programColumn == result.rows[i].programColumn,
                      "program changed on the way back");
        }
        // The same file again: every number is known now, nothing is added.
        const ContactImport again =
            ImportContacts(file, out, NumberPrefixes{}, FuzzAreaCodes(), result.rows);
        Check(again.added == 0 && again.known == result.rows.size(), "known numbers added again");
    }
}

}  // namespace telvor::fuzz
