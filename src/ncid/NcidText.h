#pragma once
// Text as it goes into a field pair of an NCID line. The program's texts are Windows-1252;
// on the wire they are UTF-8, which the clients on other systems show correctly.
#include <cstddef>
#include <string>
#include <string_view>

namespace telvor {

// The words the protocol gives a field without value.
inline constexpr std::string_view kNcidNoName = "NO NAME";
inline constexpr std::string_view kNcidNoNumber = "NO-NUMBER";
inline constexpr std::string_view kNcidNoLine = "NO-LINE";
inline constexpr std::string_view kNcidNoMesg = "NONE";
// "Not known here": clients show nothing for a single dash.
inline constexpr std::string_view kNcidDash = "-";

// A field's data, safe inside "*LABEL*data*": a '*' would end the field early, so it becomes
// the look-alike '×'; CR, LF and every other control character would end or garble the line,
// so each becomes a blank. Blanks at either end go, the text is cut to maxChars characters,
// and what is left is converted to UTF-8, at most 2 * maxChars bytes of it (a character of
// three bytes, such as '€', counts for one and a half). An empty result gives whenEmpty.
std::string NcidFieldText(std::string_view cp1252, std::size_t maxChars,
                          std::string_view whenEmpty);

}  // namespace telvor
