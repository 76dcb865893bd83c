#pragma once
// The German word for the kind of a telephone number, from the words an address book uses
// for it: vCard types ("cell,voice"), column headers ("Business Fax", "Mobiltelefon"),
// labels ("Work Fax", "_$!<Mobile>!$_").
#include <string>
#include <string_view>

namespace telvor::contacts {

// "Fax", "mobil", "Pager", "geschäftlich" or "privat", in that order of precedence (a
// business fax is a fax); empty when the words name none of them (voice, pref, main, ...).
std::string PhoneLabelOfWords(std::string_view words);

// A label the user typed may be anything: a known word gives its German label, a generic
// one ("Other", "Main") none, any other text is kept as the label itself.
std::string PhoneLabelOfCustom(std::string_view label);

}  // namespace telvor::contacts
