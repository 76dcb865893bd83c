#pragma once
// The program's string table: numeric ID -> German text in Windows-1252. A missing ID yields
// the empty text, never an error. Portable: the table is compiled in.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace telvor {

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
