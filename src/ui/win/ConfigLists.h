#pragma once
// The three lists of the configuration dialog over their sortable list views: loading from
// the files and the store, rows in and out, selection, in-place editing, the popup menus and
// the columns' layout. The dialog's handlers (ConfigListPages.cpp) work through this.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/AppSettings.h"
#include "store/SettingsStore.h"
#include "ui/ConfigApply.h"
#include "ui/ListFlow.h"
#include "ui/win/Form.h"

namespace telvor {

class TEditDbEntry;

// The entry dialog on `fields`, modal; true for "Ok" (the fields then hold what was typed).
bool RunEntryDialog(TEditDbEntry& dialog, EntryMode mode, EntryFields& fields, HWND owner);

class ConfigLists {
  public:
    explicit ConfigLists(Form& form);
    ~ConfigLists();
    ConfigLists(const ConfigLists&) = delete;
    ConfigLists& operator=(const ConfigLists&) = delete;

    void Clear();
    // The caller database, then the MSN list, then the call list.
    void Load(SettingsStore& store, const AppSettings& settings);
    void ConvertNames(const std::function<void(std::vector<CallerRow>&, SettingsStore&)>& convert,
                      SettingsStore& store);
    void ApplyLayouts(SettingsStore& store, int scrollBarWidth);
    void SaveLayouts(SettingsStore& store);
    // Callers, MSNs and calls as they stand (options left empty).
    ConfigContent Content() const;

    void AddCall(const CallRow& row);
    std::size_t CallCount() const;
    void AddNames(const std::vector<CallerRow>& rows);

    // Names and MSNs: the entry flows' view of a list.
    void AppendNew(EntryMode list);
    bool Selected(EntryMode list, CallerRow& row) const;
    void SetSelected(EntryMode list, const CallerRow& row);
    void DeleteSelected(EntryMode list);
    bool HasSelection(EntryMode list) const;

    bool SelectedMsnFlags(MsnFlags& flags) const;
    bool SetSelectedMsnFlag(int index, bool value);

    // Calls.
    std::optional<CallRow> SelectedCall() const;
    // Deletes the selected calls; returns how many there were.
    int DeleteSelectedCalls();
    void DeleteAllCalls();

    // In-place editing of a caption (F2; Enter or Esc end it). EndInPlaceEdit is the key
    // hook's: true when an edit was open; `changed` when the caption differs now.
    void StartInPlaceEdit(EntryMode list);
    bool EndInPlaceEdit(bool cancel, bool& changed);
    bool Editing() const;
    // The caption an in-place edit ended with (MSNs: keypad digits), or nothing when the edit
    // was cancelled. `changed` is set when it differs from the row's caption.
    std::optional<std::string> TakeEditedCaption(EntryMode list, const std::string& typed,
                                                 bool& changed);

    // Focus entry: column captions again, the first row selected when none is.
    void FocusEntered(const char* list);
    // The popup menus; the chosen command's id, or 0.
    enum MenuCommand : UINT {
        NamesAdd = 300, NamesDelete, NamesImport, NamesProperties,
        CallsDelete = 310, CallsToDatabase,
        MsnAdd = 320, MsnDelete, MsnProperties,
    };
    UINT PopupMenu(const char* list, POINT screen);
    HWND ListOf(EntryMode list) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace telvor
