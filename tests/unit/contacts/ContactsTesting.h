#pragma once
// What the address-book tests share: UTF-8 text (u8 literals, whatever the program's code
// page), a small area-code list, and an import with the default prefixes.
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "contacts/Contacts.h"

namespace telvor::testing {

inline std::string Utf8(std::u8string_view text) {
    return std::string(text.begin(), text.end());
}

inline const AreaCodeList& TestAreaCodes() {
    static const AreaCodeList list = [] {
        AreaCodeList l;
        l.SetLines({"N711\tStuttgart", "N30\tBerlin", "N171\tMobilfunk", "N89\tMünchen",
                    "I44\tVereinigtes Königreich", "I1242\tBahamas", "I1\tVereinigte Staaten"});
        return l;
    }();
    return list;
}

inline ContactImport Import(std::string_view bytes, ContactFormat format,
                            const std::vector<CallerRow>& existing = {}) {
    return ImportContacts(bytes, format, NumberPrefixes{}, TestAreaCodes(), existing);
}

using NameAndNumber = std::pair<std::string, std::string>;
using Pairs = std::vector<NameAndNumber>;

inline std::vector<NameAndNumber> NamesAndNumbers(const ContactImport& result) {
    EXPECT_EQ(result.status, ContactImportStatus::Ok);
    EXPECT_EQ(result.added, result.rows.size());
    std::vector<NameAndNumber> pairs;
    for (const CallerRow& row : result.rows) pairs.emplace_back(row.name, row.number);
    return pairs;
}

}  // namespace telvor::testing
