#include "contacts/CsvReader.h"

#include <string>
#include <unordered_map>

#include "base/TextEncoding.h"
#include "contacts/ContactText.h"
#include "contacts/CsvRecords.h"
#include "contacts/PhoneLabel.h"
#include "store/CallerDatabase.h"

namespace telvor::contacts {
namespace {

constexpr std::size_t kNone = SIZE_MAX;
constexpr std::size_t kTextRoom = 255;  // program and parameter fields of a record

struct PhoneColumn {
    std::size_t value = kNone;
    std::size_t type = kNone;  // Google: the column that names the kind in each line
    std::string label;         // Outlook: the kind the column's name says
};

bool IsOneOf(const std::string& text, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (text == name) return true;
    return false;
}

bool Contains(const std::string& text, std::initializer_list<const char*> words) {
    for (const char* word : words)
        if (text.find(word) != std::string::npos) return true;
    return false;
}

// "phone 3 - value" -> "3 - value"'s number and the part after it; empty when not this form.
bool GooglePhoneColumn(const std::string& name, std::string& index, std::string& part) {
    if (!name.starts_with("phone ")) return false;
    const std::size_t dash = name.find(" - ", 6);
    if (dash == std::string::npos || dash == 6) return false;
    index = name.substr(6, dash - 6);
    if (index.find_first_not_of("0123456789") != std::string::npos) return false;
    part = name.substr(dash + 3);
    return true;
}

struct Columns {
    std::size_t fullName = kNone, given = kNone, family = kNone, company = kNone;
    std::size_t program = kNone, parameter = kNone;
    std::vector<PhoneColumn> phones;

    explicit Columns(const std::vector<std::string>& header) {
        for (std::size_t i = 0; i < header.size(); ++i)
            Classify(i, LowerCp1252(TrimBlanks(header[i])));
        // A Google kind column belongs to the value column of the same number.
        for (PhoneColumn& phone : phones) {
            if (phone.type == kNone) continue;
            const auto kind = googleKinds_.find(googleIndex_[phone.type]);
            phone.type = kind == googleKinds_.end() ? kNone : kind->second;
        }
    }

  private:
    void Classify(std::size_t i, const std::string& name) {
        std::string index, part;
        if (GooglePhoneColumn(name, index, part)) {
            if (part == "value") {
                googleIndex_.push_back(index);
                phones.push_back({i, googleIndex_.size() - 1, {}});
            } else if (part == "type" || part == "label") {
                googleKinds_.emplace(index, i);
            }
        } else if (IsOneOf(name, {"name", "display name", "full name", "anzeigename"})) {
            Take(fullName, i);
        } else if (IsOneOf(name, {"given name", "first name", "vorname"})) {
            Take(given, i);
        } else if (IsOneOf(name, {"family name", "last name", "nachname"})) {
            Take(family, i);
        } else if (IsOneOf(name, {"company", "firma", "organization 1 - name", "organization name",
                                  "organisation"})) {
            Take(company, i);
        } else if (name == "programm") {
            Take(program, i);
        } else if (name == "parameter") {
            Take(parameter, i);
        } else if (Contains(name, {"phone", "telefon", "fax", "mobil", "pager", "handy"}) ||
                   IsOneOf(name, {"isdn", "callback", "rückmeldung", "tel", "tel."})) {
            if (!Contains(name, {"phonetic", "telex", " - type", " - label"}))
                phones.push_back({i, kNone, PhoneLabelOfWords(name)});
        }
    }
    static void Take(std::size_t& column, std::size_t i) {
        if (column == kNone) column = i;
    }

    std::vector<std::string> googleIndex_;  // per Google value column, its number
    std::unordered_map<std::string, std::size_t> googleKinds_;  // number -> its kind column
};

std::string Cell(const std::vector<std::string>& record, std::size_t column) {
    return column < record.size() ? record[column] : std::string();
}

// A text as its record field holds it: cut to the field, without blanks at either end.
std::string RecordField(std::string_view text) {
    return std::string(TrimBlanks(TrimBlanks(text).substr(0, kTextRoom)));
}

Contact ContactOf(const std::vector<std::string>& record, const Columns& columns) {
    Contact contact;
    contact.name = CleanName(Cell(record, columns.fullName));
    if (contact.name.empty())
        contact.name = JoinNames(CleanName(Cell(record, columns.given)),
                                 CleanName(Cell(record, columns.family)));
    if (contact.name.empty()) contact.name = CleanName(Cell(record, columns.company));
    // Quotes cannot be part of the program (they delimit it in the column).
    std::string program = Cell(record, columns.program);
    std::erase(program, '"');
    contact.programColumn =
        JoinProgramColumn(RecordField(program), RecordField(Cell(record, columns.parameter)));
    for (const PhoneColumn& column : columns.phones) {
        const std::string cell = Cell(record, column.value);
        const std::string label =
            column.type == kNone ? column.label : PhoneLabelOfCustom(Cell(record, column.type));
        // Google joins the numbers of one kind in one cell.
        std::size_t start = 0;
        while (start <= cell.size()) {
            std::size_t end = cell.find(" ::: ", start);
            if (end == std::string::npos) end = cell.size();
            const std::string_view text =
                TrimBlanks(std::string_view(cell).substr(start, end - start));
            if (!text.empty()) contact.phones.push_back({std::string(text), label});
            start = end + 5;
        }
    }
    return contact;
}

}  // namespace

std::optional<std::vector<Contact>> ReadCsvContacts(std::string_view bytes) {
    const std::string text = DecodeTextFile(bytes);
    const std::vector<std::vector<std::string>> records =
        ReadCsvRecords(text, DetectSeparator(text));
    if (records.empty()) return std::nullopt;
    const Columns columns(records.front());
    if (columns.phones.empty()) return std::nullopt;
    std::vector<Contact> contacts;
    contacts.reserve(records.size() - 1);
    for (std::size_t i = 1; i < records.size(); ++i)
        contacts.push_back(ContactOf(records[i], columns));
    return contacts;
}

}  // namespace telvor::contacts
