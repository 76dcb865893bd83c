#pragma once
// What the readers make of an address book before its numbers are brought into the caller
// database's form: one contact per card or line, texts already in Windows-1252.
#include <string>
#include <vector>

namespace telvor::contacts {

struct ContactPhone {
    std::string text;   // the number as the file writes it ("+49 (711) 123-0", "tel:+1...")
    std::string label;  // what kind of number, in German ("mobil"); empty when unknown
};

struct Contact {
    std::string name;
    std::vector<ContactPhone> phones;
    std::string programColumn;  // only from Telvor's own CSV files
};

}  // namespace telvor::contacts
