#pragma once
// Import of the caller database from a text file: one entry per non-empty line, with the
// fields number, name, program and parameters separated by the "Separator" setting. There is
// no quoting: the fourth field is the whole rest of the line, separators included.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/CallerDatabase.h"
#include "store/SettingsStore.h"

namespace telvor {

// The separator of the settings (default ","), shared with the protocol file.
std::string ReadImportSeparator(SettingsStore& store);

// One names-list row per line of `text`: lines end at CR, LF or CR LF; a NUL byte ends the
// text; empty lines are skipped. Fields are trimmed of characters up to code 32. An empty
// separator splits nothing (the whole line is the number).
std::vector<CallerRow> ParseCallerImport(std::string_view text, std::string_view separator);

// The rows of a whole file; nothing when the file cannot be opened for reading.
std::optional<std::vector<CallerRow>> ImportCallerFile(const std::string& path,
                                                       std::string_view separator);

}  // namespace telvor
