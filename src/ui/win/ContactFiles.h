#pragma once
// The address books a user already has, for the names list: import of a vCard or CSV file
// chosen in the import's file dialog, and export of the rows through a save dialog. What the
// formats hold is the contacts subsystem's; this file is the dialogs and the messages.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "contacts/Contacts.h"
#include "numbers/Numbers.h"
#include "store/CallerDatabase.h"
#include "store/SettingsStore.h"

namespace telvor {

// The rows of the address book at `path` that are not in `existing` yet, after a message that
// counts what was added, skipped as known and left without a usable number. A file that
// cannot be opened, or does not fit its format, gets the program's message and gives nothing.
std::optional<std::vector<CallerRow>> ImportContactFile(HWND owner, const std::string& path,
                                                        ContactFormat format, SettingsStore& store,
                                                        const AreaCodeList& areaCodes,
                                                        const std::vector<CallerRow>& existing);

// "Einträge &exportieren...": the save dialog (vCard or CSV, by the chosen type) and the file.
// A file that cannot be written gets the program's message. True when a file was written.
bool ExportNamesToFile(HWND owner, const std::vector<CallerRow>& rows);

}  // namespace telvor
