#pragma once
// The import of the caller database from a text file, as the names page of the configuration
// dialog starts it ("Im&portieren", popup item 10005). The dialog's names list appends the
// returned rows at its end, in order, and then calls its change notification `Changed`:
//
//   if (auto rows = RunImportDialog(hwnd, store)) {
//       for (const CallerRow& row : *rows) AppendNameRow(row);
//       Changed();  // also for a file without lines
//   }
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "store/CallerDatabase.h"
#include "store/SettingsStore.h"

namespace telvor {

inline constexpr DWORD kImportHelpContext = 1313;

// The file dialog: title 20024, filter 20025, help context 1313, help button, path and file
// must exist, no read-only box. The chosen file's path; nothing when the user cancelled.
std::optional<std::string> ChooseImportFile(HWND owner);

// The rows of `path` split by the "Separator" setting. A file that cannot be opened shows the
// error box 61442 with the file name and gives nothing.
std::optional<std::vector<CallerRow>> ImportRowsFromFile(HWND owner, const std::string& path,
                                                         SettingsStore& store);

// Both in turn: nothing when the user cancelled or the file could not be opened.
std::optional<std::vector<CallerRow>> RunImportDialog(HWND owner, SettingsStore& store);

}  // namespace telvor
