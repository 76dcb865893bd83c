#pragma once
// The program's string table: numeric ID -> German text in Windows-1252. A missing ID yields
// the empty text, never an error. Portable: the table is compiled in.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace telvor {

// Texts of the user-interface platform layer that the program shows.
inline constexpr unsigned kFileCreateErrorId = 61441;   // "Datei %s kann nicht erstellt werden"
inline constexpr unsigned kFileOpenErrorId = 61442;     // "Kann Datei %s nicht öffnen"
inline constexpr unsigned kInvalidIntegerId = 61500;    // "'%s' ist kein gültiger Integerwert"
inline constexpr unsigned kWarningTitleId = 61560;      // "Warnung"
inline constexpr unsigned kErrorTitleId = 61561;        // "Fehler"
inline constexpr unsigned kInformationTitleId = 61562;  // "Information"
inline constexpr unsigned kConfirmTitleId = 61563;      // "Bestätigen"
inline constexpr unsigned kYesButtonId = 61564;         // "&Ja"
inline constexpr unsigned kNoButtonId = 61565;          // "&Nein"
inline constexpr unsigned kOkButtonId = 61566;          // "OK"
inline constexpr unsigned kInvalidDataTypeId = 61626;   // settings store errors
inline constexpr unsigned kCreateKeyFailedId = 61627;
inline constexpr unsigned kWriteValueFailedId = 61628;
inline constexpr unsigned kReadValueFailedId = 61629;

// The text of `id`, at most 1023 characters; empty for an ID without entry.
std::string LoadStr(unsigned id);

// One argument of a formatted text: %s takes text, %d takes a number.
using FormatArg = std::variant<std::string_view, long long>;
// The text of `id` used as a format string ("%s", "%d", "%%"); missing arguments format as
// empty text or 0, surplus ones are ignored.
std::string FormatStr(unsigned id, std::initializer_list<FormatArg> args);
std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args);

// Loaded once, before any form is created (LoadStartupTexts); read-only afterwards.
extern std::string UnknownCallerText;  // 20001 "unbekannt"
extern std::string NewMsnCaption;      // 20017 "Neue MSN"
extern std::string NewEntryCaption;    // 20018 "Neuer Eintrag"
void LoadStartupTexts();

}  // namespace telvor
