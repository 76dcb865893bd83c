#include "contacts/Contacts.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "base/StringTable.h"
#include "contacts/AreaCodeIndex.h"
#include "contacts/ContactText.h"
#include "contacts/ContactWriter.h"
#include "contacts/CsvReader.h"
#include "contacts/DatabaseNumber.h"
#include "contacts/VCardReader.h"
#include "store/AppSettings.h"

namespace telvor {
namespace {

constexpr std::size_t kNumberRoom = 60;
constexpr std::size_t kNameRoom = 255;

struct Numbered {
    std::string number;
    std::string label;
};

// The names of a contact's rows: the plain name for its only number; with several, each
// says which it is ("Hans Müller (mobil)"), a kind that repeats counted from its second
// ("(Telefon)", "(Telefon 2)"). The label is never cut off: the name gives way.
std::vector<std::string> RowNames(const std::string& name, const std::vector<Numbered>& numbers) {
    // A cut name ends where it was cut, not in the blank it was cut at.
    const auto cut = [&](std::size_t room) {
        return std::string(contacts::TrimBlanks(std::string_view(name).substr(0, room)));
    };
    if (numbers.size() == 1) return {cut(kNameRoom)};
    std::vector<std::string> names;
    std::unordered_map<std::string, std::size_t> seen;
    for (const Numbered& n : numbers) {
        const std::string kind = n.label.empty() ? "Telefon" : n.label;
        const std::size_t count = ++seen[kind];
        std::string suffix(1, '(');
        suffix += kind;
        if (count > 1) suffix.append(1, ' ').append(std::to_string(count));
        suffix.push_back(')');
        const std::size_t room = kNameRoom - std::min(kNameRoom, suffix.size() + 1);
        names.push_back(contacts::JoinNames(cut(room), suffix));
    }
    return names;
}

}  // namespace

std::optional<ContactFormat> ContactFormatOfFile(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const std::string extension = contacts::LowerCp1252(fileName.substr(dot));
    if (extension == ".vcf" || extension == ".vcard") return ContactFormat::VCard;
    if (extension == ".csv") return ContactFormat::Csv;
    return std::nullopt;
}

NumberPrefixes ReadNumberPrefixes(SettingsStore& store) {
    NumberPrefixes prefixes;
    prefixes.national = store.ReadString(kSettingsSection, "NationalCalls", "0");
    prefixes.international = store.ReadString(kSettingsSection, "InternationalCalls", "00");
    return prefixes;
}

ContactImport ImportContacts(std::string_view bytes, ContactFormat format,
                             const NumberPrefixes& prefixes, const AreaCodeList& areaCodes,
                             const std::vector<CallerRow>& existing) {
    ContactImport result;
    const std::optional<std::vector<contacts::Contact>> read =
        format == ContactFormat::VCard ? contacts::ReadVCards(bytes)
                                       : contacts::ReadCsvContacts(bytes);
    if (!read) {
        result.status = format == ContactFormat::VCard ? ContactImportStatus::NotVCard
                                                       : ContactImportStatus::NoPhoneColumn;
        return result;
    }
    const contacts::AreaCodeIndex index(areaCodes);
    std::unordered_set<std::string> known;
    for (const CallerRow& row : existing)  // the placeholder of a new entry is no number
        if (row.number != NewEntryCaption) known.insert(KeypadDigits(row.number));
    for (const contacts::Contact& contact : *read) {
        std::vector<Numbered> numbers;
        for (const contacts::ContactPhone& phone : contact.phones) {
            std::optional<std::string> number =
                contacts::DatabaseNumber(phone.text, prefixes, index);
            if (number) {
                numbers.push_back({std::move(*number), phone.label});
            } else if (!contacts::TrimBlanks(phone.text).empty()) {
                ++result.unusable;
            }
        }
        const std::vector<std::string> names = RowNames(contact.name, numbers);
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (!known.insert(KeypadDigits(numbers[i].number)).second) {
                ++result.known;
                continue;
            }
            CallerRow row;
            row.number = numbers[i].number.substr(0, kNumberRoom);
            row.name = names[i];
            row.programColumn = contact.programColumn;
            result.rows.push_back(std::move(row));
        }
    }
    result.added = result.rows.size();
    return result;
}

std::string ExportContacts(const std::vector<CallerRow>& rows, ContactFormat format) {
    return format == ContactFormat::VCard ? contacts::WriteVCards(rows) : contacts::WriteCsv(rows);
}

}  // namespace telvor
