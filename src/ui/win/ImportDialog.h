#pragma once
// The import of the caller database from a text file, as the names page of the configuration
// dialog starts it ("Im&portieren", popup item 10005). The dialog's names list appends the
// returned rows at its end, in order, and then calls its change notification `Changed`:
//
//   if (auto rows = RunImportDialog(hwnd, store, areaCodes, NameRows())) {
//       for (const CallerRow& row : *rows) AppendNameRow(row);
//       Changed();  // also for a file without lines
//   }
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "numbers/Numbers.h"
#include "store/CallerDatabase.h"
#include "store/SettingsStore.h"

namespace telvor {

inline constexpr DWORD kImportHelpContext = 1313;

// The file dialog: title 20024, filter 20025 with the address books' types (20031) after the
// text files, help context 1313, help button, path and file must exist, no read-only box. The
// chosen file's path; nothing when the user cancelled.
std::optional<std::string> ChooseImportFile(HWND owner);

// The rows of `path` split by the "Separator" setting. A file that cannot be opened shows the
// error box 61442 with the file name and gives nothing.
std::optional<std::vector<CallerRow>> ImportRowsFromFile(HWND owner, const std::string& path,
                                                         SettingsStore& store);

// Both in turn, for the text format; a file named .vcf or .csv is read as the address book
// it is (ContactFiles.h), against the rows `existing` already in the list. Nothing when the
// user cancelled or the file could not be opened or read.
std::optional<std::vector<CallerRow>> RunImportDialog(HWND owner, SettingsStore& store,
                                                      const AreaCodeList& areaCodes,
                                                      const std::vector<CallerRow>& existing);

}  // namespace telvor
