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
#include "store/CallerNumberConversion.h"
#include "store/SettingsStore.h"
#include "ui/ConfigApply.h"
#include "ui/ListFlow.h"
#include "ui/win/Form.h"

namespace telvor {

class TEditDbEntry;

// The entry dialog on `fields`, modal; true for "Ok" (the fields then hold what was typed).
bool RunEntryDialog(TEditDbEntry& dialog, EntryList list, EntryFields& fields, int dmailMode);

class ConfigLists {
  public:
    explicit ConfigLists(Form& form);
    ~ConfigLists();
    ConfigLists(const ConfigLists&) = delete;
    ConfigLists& operator=(const ConfigLists&) = delete;

    void Clear();
    // The caller database, then the MSN list, then the call list.
    void Load(SettingsStore& store, const AppSettings& settings);
    // The upgrade's conversion of the callers' numbers, in the list only.
    void ConvertNames(const CallerNumberConversion& conversion);
    void ApplyLayouts(SettingsStore& store, int scrollBarWidth);
    void SaveLayouts(SettingsStore& store);
    // Callers and MSNs as they stand (options left empty).
    ConfigContent Content() const;
    // The call list's rows as the records an apply writes, read in place.
    const CallSource& Calls() const;

    void AddCall(const CallRow& row);
    std::size_t CallCount() const;
    void AddNames(const std::vector<CallerRow>& rows);

    // Names and MSNs: the entry flows' view of a list.
    void AppendNew(EntryList list);
    bool Selected(EntryList list, CallerRow& row) const;
    // The selected row's index with its texts, -1 for none.
    int SelectedIndex(EntryList list, CallerRow& row) const;
    void SetAt(EntryList list, int index, const CallerRow& row);
    void DeleteAt(EntryList list, int index);
    void DeleteSelected(EntryList list);
    bool HasSelection(EntryList list) const;

    bool SelectedMsnFlags(MsnFlags& flags) const;
    bool SetSelectedMsnFlag(int index, bool value);

    // Calls.
    std::optional<CallRow> SelectedCall() const;
    // Deletes the selected calls; returns how many there were.
    int DeleteSelectedCalls();
    void DeleteAllCalls();

    // In-place editing of a caption (F2; Enter or Esc end it). EndInPlaceEdit is the key
    // hook's: true when an edit was open; `changed` when the caption differs now.
    void StartInPlaceEdit(EntryList list);
    bool EndInPlaceEdit(bool cancel, bool& changed);
    // An edit ended by the list itself (focus change): the row takes the caption.
    void SetEditEnded(std::function<void(bool changed)> changed);
    bool Editing() const;
    // The caption an in-place edit ended with (MSNs: keypad digits), or nothing when the edit
    // was cancelled. `changed` is set when it differs from the row's caption.
    std::optional<std::string> TakeEditedCaption(EntryList list, const std::string& typed,
                                                 bool& changed);

    // The keys the lists never report as LVN_KEYDOWN: Alt+key and F10 (system keys), and
    // the keyboard's context-menu request; each handler gets the list's name.
    void OnListKeys(std::function<bool(const char* list, WORD key, bool alt)> systemKey,
                    std::function<void(const char* list)> menuKey);

    // Focus entry: column captions again, the first row selected when none is.
    void FocusEntered(const char* list);
    // The popup menus; the chosen command's id, or 0.
    enum MenuCommand : UINT {
        NamesAdd = 300,
        NamesDelete,
        NamesImport,
        NamesProperties,
        NamesExport,
        CallsDelete = 310,
        CallsToDatabase,
        MsnAdd = 320,
        MsnDelete,
        MsnProperties,
    };
    UINT PopupMenu(const char* list, POINT screen);
    HWND ListOf(EntryList list) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace telvor
