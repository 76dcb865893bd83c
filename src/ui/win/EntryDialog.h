#pragma once
// TEditDbEntry: the small modal dialog in which one row of the caller database or the MSN
// list is edited. Created hidden at start-up and reused; the configuration dialog fills it,
// shows it with Edit and takes the fields back when it returns true ("Ok").
//
// In the caller-database mode a label under the number shows the town of the typed number,
// looked up on every change with the prefixes read afresh from the settings.
#include <windows.h>

#include <memory>
#include <string>

#include "numbers/Numbers.h"
#include "store/SettingsStore.h"
#include "ui/win/Form.h"
#include "ui/win/OpenFileDialog.h"

namespace telvor {

enum class EntryMode { CallerDatabase = 1, Msn = 2 };

// The help contexts of the number, name and program fields, which depend on the mode.
struct EntryHelpContexts {
    DWORD number;
    DWORD name;
    DWORD program;
};
inline constexpr EntryHelpContexts kCallerEntryHelp{1001, 1002, 11001};
inline constexpr EntryHelpContexts kMsnEntryHelp{1305, 12003, 1306};

// The dialog's form, with the contexts of the caller-database mode.
FormDef EntryDialogDef();

// The fields of one row. `dmail` goes in as the row's notification flag (its dmail column is
// not empty) and comes out as the check box's state; `dmailEnabled` comes out telling whether
// the box could be changed (dmail mode 2): only then does the row take `dmail` back.
struct EntryValues {
    std::string number;
    std::string name;
    std::string program;
    std::string parameter;
    bool dmail = false;
    bool dmailEnabled = false;
};

class TEditDbEntry {
  public:
    static std::unique_ptr<TEditDbEntry> Create(HWND owner, std::string& error);

    // Where the town lookup reads the prefixes and the area codes. Without them the settings
    // are read from the current user's registry tree and no town is ever found.
    void SetTownSources(SettingsStore* store, const AreaCodeList* areaCodes);

    // Shows the dialog modally with `values` in its fields; `dmailMode` is the configuration
    // dialog's DMWhenRG index. Returns true when the user pressed "Ok"; `values` then holds the
    // fields as typed. The caller sets and clears DialogBusy around it.
    bool Edit(EntryMode mode, EntryValues& values, int dmailMode);

    HWND Handle() const { return form_->Handle(); }
    Form& GetForm() { return *form_; }
    EntryMode Mode() const { return mode_; }

  private:
    void UpdateTown();
    void Browse();

    std::unique_ptr<Form> form_;
    std::unique_ptr<SettingsStore> ownStore_;
    SettingsStore* store_ = nullptr;
    const AreaCodeList* areaCodes_ = nullptr;
    EntryMode mode_ = EntryMode::CallerDatabase;
    // OpenDlg, the program field's file browser.
    OpenFileDialog openDlg_{OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST};
};

}  // namespace telvor
