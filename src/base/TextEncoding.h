#pragma once
// Conversion between UTF-8 and the program's single-byte text (Windows-1252), for files
// that come from or go to other programs. Every text inside the program stays Windows-1252.
#include <string>
#include <string_view>

namespace telvor {

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF). Plain ASCII is valid UTF-8.
bool IsValidUtf8(std::string_view text);

// UTF-8 to Windows-1252. A character Windows-1252 cannot hold becomes '?', and so does each
// byte of a malformed sequence. U+0081, U+008D, U+008F, U+0090 and U+009D come back as the
// bytes Windows-1252 leaves unassigned, so that Cp1252ToUtf8 followed by this is lossless.
std::string Utf8ToCp1252(std::string_view utf8);

// Windows-1252 to UTF-8; the five unassigned bytes become the C1 controls of the same value.
std::string Cp1252ToUtf8(std::string_view text);

// The text of a file of unknown encoding, as Windows-1252: a UTF-8 byte order mark is
// dropped; a UTF-16 one (either byte order) decodes the rest as UTF-16; otherwise the bytes
// are UTF-8 when they are valid UTF-8 and Windows-1252 when not.
std::string DecodeTextFile(std::string_view bytes);

}  // namespace telvor
