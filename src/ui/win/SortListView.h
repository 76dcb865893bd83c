#pragma once
// TSortListView and TDateSortListView: the configuration dialog's sortable lists.
//
// The list view control is created by the form (ControlKind::SortListView or
// DateSortListView, which the form creates as an owner-data report view); this class takes it
// over and holds its rows: caption, sub-items and the attached bytes. The control asks for the
// texts it draws (LVN_GETDISPINFO) and keeps only the selection and focus state, so 100 000
// rows are added, sorted and shown without one control item per row.
//
// Rows are addressed by their present index (0 = top). Indices change when rows are sorted,
// inserted or deleted; the selection and the focus move with their rows.
//
// Sorting: setting SortedColumn or SortDirection sorts all rows again (even with an unchanged
// value) without flipping the direction; a header click on the sorted column flips the
// direction, one on another column sorts ascending. Rows added later stay where they were
// added until the next sort. Texts compare by the user's locale (case-sensitive word sort;
// numbers as text: 0711, 089, 10, 9); rows lacking the sorted column's sub-item come first in
// both directions; rows that compare equal keep their order. The date list sorts column 2 by
// the date/time in its rows' attached data (see CallRowData).
//
// The class handles these notifications of its control through the form, so the form's owner
// must not register them for this control: LVN_GETDISPINFO, LVN_ODFINDITEM, LVN_COLUMNCLICK,
// LVN_BEGINLABELEDIT, LVN_ENDLABELEDIT (ANSI and wide forms). Others (LVN_ITEMCHANGED,
// NM_DBLCLK, NM_RCLICK, LVN_KEYDOWN) are the owner's; with owner data LVN_ITEMCHANGED reports
// a change of several rows at once with iItem -1, and LVN_ODSTATECHANGED a range.
//
// Create it after the form's controls exist and destroy it before the form.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "ui/SortState.h"
#include "ui/SortableRows.h"
#include "ui/win/Form.h"

namespace telvor {

// The user's locale order as LCMapStringA sort keys: the same order as lstrcmpA.
class LocaleCollation final : public TextCollation {
  public:
    std::string SortKey(std::string_view text) const override;
};

class TSortListView {
  public:
    TSortListView(Form& form, std::string_view name);
    virtual ~TSortListView();
    TSortListView(const TSortListView&) = delete;
    TSortListView& operator=(const TSortListView&) = delete;

    HWND Handle() const { return hwnd_; }

    // --- rows ---
    int RowCount() const { return static_cast<int>(rows_.Count()); }
    bool Valid(int row) const { return row >= 0 && row < RowCount(); }
    // Room for `count` rows at once (a load of a known size).
    void Reserve(int count);
    // Between BeginUpdate and EndUpdate (nested calls count) the control is told the row
    // count and repainted only once, at the end. Sorts by one column in a row (its sort state
    // set column first, then direction) are done once, at the end, by the last direction: the
    // same order, since equal rows keep their order in every sort.
    void BeginUpdate();
    void EndUpdate();
    // Appends a row at the end; returns its index.
    int AddRow(std::string caption, std::vector<std::string> subItems = {}, std::string data = {});
    // Inserts before `index` (at the end when index is out of range); returns the index.
    int InsertRow(int index, std::string caption, std::vector<std::string> subItems = {},
                  std::string data = {});
    void DeleteRow(int index);
    void Clear();
    // Empties the list for a new load that reuses the rows' storage (see SortableRows).
    void ClearForReload();

    // Out-of-range indices read as empty and are ignored when set.
    std::string Caption(int row) const;
    // A column's text in place (0 = the caption), empty when missing; valid until the row
    // changes or goes.
    std::string_view Text(int row, int column) const;
    void SetCaption(int row, std::string text);
    int SubItemCount(int row) const;
    // Sub-item i is column i + 1; a missing one reads as empty.
    std::string SubItem(int row, int sub) const;
    // Adds empty sub-items before `sub` when the row has fewer.
    void SetSubItem(int row, int sub, std::string text);
    void SetSubItems(int row, std::vector<std::string> subItems);
    // The attached bytes (the MSN list's 14 flag bytes, the call list's date and flag).
    std::string_view Data(int row) const;
    void SetData(int row, std::string bytes);

    // --- selection and focus (kept by the control) ---
    int SelectedCount() const;
    int SelectedRow() const;  // the first selected row, -1 for none
    std::vector<int> SelectedRows() const;
    // Selects only this row, focuses it and scrolls it into view.
    void SelectRow(int row);
    void SetRowSelected(int row, bool selected);
    int FocusedRow() const;

    // --- in-place editing of the caption ---
    // Starts editing the row's caption (the list needs the kEditLabels flag).
    void BeginEdit(int row);
    bool Editing() const { return editing_; }
    // Called when an edit ends with OK (Enter or focus change), with the typed text. Without a
    // handler the caption becomes the typed text; with one, the handler decides (SetCaption).
    std::function<void(int row, std::string typed)> OnEditEnded;

    // --- keys the control does not report as LVN_KEYDOWN ---
    // Alt+key and F10 arrive as WM_SYSKEYDOWN, which the control keeps to itself; the handler
    // gets the key and whether Alt is held, and returns true when it used it.
    std::function<bool(WORD key, bool alt)> OnSystemKey;
    // The keyboard's context-menu request (the menu key; WM_CONTEXTMENU at -1,-1). Mouse
    // clicks come as NM_RCLICK.
    std::function<void()> OnKeyboardMenu;

    // --- sorting ---
    int SortedColumn() const { return sort_.SortedColumn(); }
    void SetSortedColumn(int column) { sort_.SetSortedColumn(column); }
    unsigned char SortDirection() const { return sort_.SortDirection(); }
    void SetSortDirection(unsigned char direction) { sort_.SetSortDirection(direction); }
    // What a click on the column's header does.
    void ColumnClick(int column) { sort_.ColumnClick(column); }

    // --- columns ---
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

  protected:
    TSortListView(Form& form, std::string_view name, RowOrder order);
    // AddRow from texts in place: a row kept by ClearForReload takes them into its storage.
    int AddTexts(std::string_view caption, std::initializer_list<std::string_view> subItems,
                 std::string_view data);

  private:
    void Attach();
    static LRESULT CALLBACK KeyProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self);
    void SortRows(int key);
    void SortNow(int key);
    void SyncCount(bool keepScroll);
    void RedrawRow(int row);
    const std::string* TextAt(int row, int column) const;
    void ClearSelection();
    void RestoreSelection(const std::vector<int>& rows, int focused);
    LRESULT GetDispInfo(NMHDR& header, bool wide);
    LRESULT FindItem(NMHDR& header, bool wide);
    LRESULT EndEdit(NMHDR& header, bool wide);

    Form& form_;
    std::string name_;
    HWND hwnd_ = nullptr;
    LocaleCollation collation_;
    SortableRows rows_;
    SortState sort_;
    int updating_ = 0;
    int pendingSort_ = 0;  // the sort key deferred to the end of the update, 0 for none
    bool editing_ = false;
    std::vector<wchar_t> wideBuffer_;
};

class TDateSortListView : public TSortListView {
  public:
    TDateSortListView(Form& form, std::string_view name);

    // A call row: the caller's name (or number), the MSN, the date/time text, and the date/time
    // with the not-in-database flag as the attached data.
    int AddCall(std::string_view caption, std::string_view msnText, std::string_view dateTimeText,
                const CallRowData& data);
    CallRowData CallData(int row) const { return DecodeCallRowData(Data(row)); }
};

}  // namespace telvor
