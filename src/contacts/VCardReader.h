#pragma once
// The contacts of a vCard file (versions 2.1, 3.0 and 4.0), for the caller database: of each
// card its name (FN; else N as given and family name; else the first ORG unit) and its TEL
// properties with their kinds. Every other property is read past.
#include <optional>
#include <string_view>
#include <vector>

#include "contacts/ContactList.h"

namespace telvor::contacts {

// Lines end at CR LF, LF or CR. A line that begins with a blank or tab continues the one
// before (3.0 and 4.0 drop that blank, 2.1 keeps it); a quoted-printable value that ends in
// '=' continues on the next line. Values are decoded by ENCODING (quoted-printable; base64
// properties are skipped) and CHARSET (UTF-8, ISO-8859-1, Windows-1252; without one a value
// is UTF-8 when it is valid UTF-8, else Windows-1252). Cards nested in a card (2.1 AGENT)
// are read past; a card the file does not end is kept. Lines without ':' are ignored.
// Nothing when no line is BEGIN:VCARD.
std::optional<std::vector<Contact>> ReadVCards(std::string_view bytes);

}  // namespace telvor::contacts
