#include "ui/win/SortListView.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "base/win/CallbackGuard.h"

namespace telvor {
namespace {

constexpr UINT kHandledCodes[] = {
    LVN_GETDISPINFOA,    LVN_GETDISPINFOW,    LVN_ODFINDITEMA,   LVN_ODFINDITEMW,   LVN_COLUMNCLICK,
    LVN_BEGINLABELEDITA, LVN_BEGINLABELEDITW, LVN_ENDLABELEDITA, LVN_ENDLABELEDITW,
};

std::string Narrow(const wchar_t* text) {
    if (!text) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

// Whether `text` begins with `prefix`, ignoring case as the locale does.
bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    if (prefix.size() > text.size()) return false;
    const int n = static_cast<int>(prefix.size());
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.data(), n, prefix.data(), n) ==
           CSTR_EQUAL;
}

}  // namespace

std::string LocaleCollation::SortKey(std::string_view text) const {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    // lstrcmpA's order: the user's default locale, case-sensitive word sort (no flags).
    std::string key(text.size() * 4 + 16, '\0');
    int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.data(), length,
                            reinterpret_cast<char*>(key.data()), static_cast<int>(key.size()));
    if (size == 0) {
        size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.data(), length, nullptr, 0);
        if (size <= 0) return std::string(text);
        key.assign(static_cast<std::size_t>(size), '\0');
        size =
            LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.data(), length, key.data(), size);
    }
    key.resize(static_cast<std::size_t>(size));
    while (!key.empty() && key.back() == '\0') key.pop_back();  // the terminator
    return key;
}

// --- construction ----------------------------------------------------------------------------

TSortListView::TSortListView(Form& form, std::string_view name)
    : TSortListView(form, name, RowOrder::Text) {}

TSortListView::TSortListView(Form& form, std::string_view name, RowOrder order)
    : form_(form),
      name_(name),
      hwnd_(form.Control(name)),
      rows_(order, collation_),
      sort_([this] { return ColumnCount(); }, [this](int key) { SortRows(key); }) {
    Attach();
}

TSortListView::~TSortListView() {
    if (hwnd_) RemoveWindowSubclass(hwnd_, KeyProc, 0);
    // The form may outlive this object: its handlers must not reach it any more.
    for (UINT code : kHandledCodes)
        form_.OnNotify(name_, code, [](NMHDR&) -> LRESULT { return 0; });
}

void TSortListView::Attach() {
    if (hwnd_) SetWindowSubclass(hwnd_, KeyProc, 0, reinterpret_cast<DWORD_PTR>(this));
    form_.OnNotify(name_, LVN_GETDISPINFOA, [this](NMHDR& h) { return GetDispInfo(h, false); });
    form_.OnNotify(name_, LVN_GETDISPINFOW, [this](NMHDR& h) { return GetDispInfo(h, true); });
    form_.OnNotify(name_, LVN_ODFINDITEMA, [this](NMHDR& h) { return FindItem(h, false); });
    form_.OnNotify(name_, LVN_ODFINDITEMW, [this](NMHDR& h) { return FindItem(h, true); });
    form_.OnNotify(name_, LVN_COLUMNCLICK, [this](NMHDR& h) -> LRESULT {
        ColumnClick(reinterpret_cast<NMLISTVIEW&>(h).iSubItem);
        return 0;
    });
    const auto begin = [this](NMHDR&) -> LRESULT {
        editing_ = true;
        return FALSE;  // allow
    };
    form_.OnNotify(name_, LVN_BEGINLABELEDITA, begin);
    form_.OnNotify(name_, LVN_BEGINLABELEDITW, begin);
    form_.OnNotify(name_, LVN_ENDLABELEDITA, [this](NMHDR& h) { return EndEdit(h, false); });
    form_.OnNotify(name_, LVN_ENDLABELEDITW, [this](NMHDR& h) { return EndEdit(h, true); });
}

LRESULT CALLBACK TSortListView::KeyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                        DWORD_PTR data) {
    auto* self = reinterpret_cast<TSortListView*>(data);
    bool handled = false;
    if (msg == WM_SYSKEYDOWN && self->OnSystemKey) {
        const bool alt = (lp & (1 << 29)) != 0;  // the context code: Alt is held
        Guarded("list key", [&] { handled = self->OnSystemKey(static_cast<WORD>(wp), alt); });
    } else if (msg == WM_CONTEXTMENU && static_cast<DWORD>(lp) == 0xFFFFFFFF &&
               self->OnKeyboardMenu) {
        Guarded("list menu key", [&] { self->OnKeyboardMenu(); });
        handled = true;
    }
    return handled ? 0 : DefSubclassProc(hwnd, msg, wp, lp);
}

// --- notifications -----------------------------------------------------------------------

const std::string* TSortListView::TextAt(int row, int column) const {
    if (!Valid(row) || column < 0) return nullptr;
    const ListRow& r = rows_.Row(static_cast<std::size_t>(row));
    if (column == 0) return &r.caption;
    const auto sub = static_cast<std::size_t>(column - 1);
    return sub < r.subItems.size() ? &r.subItems[sub] : nullptr;
}

LRESULT TSortListView::GetDispInfo(NMHDR& header, bool wide) {
    if (wide) {
        auto& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return 0;
        const std::string* text = TextAt(item.iItem, item.iSubItem);
        const int length = text ? static_cast<int>(text->size()) : 0;
        int written = length == 0 ? 0
                                  : MultiByteToWideChar(CP_ACP, 0, text->data(), length,
                                                        item.pszText, item.cchTextMax - 1);
        if (written == 0 && length > 0) {
            // Too long for the control's buffer: convert whole, hand out what fits.
            wideBuffer_.resize(static_cast<std::size_t>(length));
            written =
                MultiByteToWideChar(CP_ACP, 0, text->data(), length, wideBuffer_.data(), length);
            written = std::min(written, item.cchTextMax - 1);
            std::memcpy(item.pszText, wideBuffer_.data(),
                        static_cast<std::size_t>(written) * sizeof(wchar_t));
        }
        item.pszText[written] = L'\0';
        return 0;
    }
    auto& item = reinterpret_cast<NMLVDISPINFOA&>(header).item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return 0;
    const std::string* text = TextAt(item.iItem, item.iSubItem);
    const std::size_t n =
        text ? std::min(text->size(), static_cast<std::size_t>(item.cchTextMax - 1)) : 0;
    if (n > 0) std::memcpy(item.pszText, text->data(), n);
    item.pszText[n] = '\0';
    return 0;
}

// Type-ahead: the next row from the start row on whose caption begins with the typed text.
LRESULT TSortListView::FindItem(NMHDR& header, bool wide) {
    std::string wanted;
    int start = 0;
    UINT flags = 0;
    if (wide) {
        const auto& find = reinterpret_cast<NMLVFINDITEMW&>(header);
        flags = find.lvfi.flags;
        start = find.iStart;
        if (flags & (LVFI_STRING | LVFI_PARTIAL)) wanted = Narrow(find.lvfi.psz);
    } else {
        const auto& find = reinterpret_cast<NMLVFINDITEMA&>(header);
        flags = find.lvfi.flags;
        start = find.iStart;
        if ((flags & (LVFI_STRING | LVFI_PARTIAL)) && find.lvfi.psz) wanted = find.lvfi.psz;
    }
    const int count = RowCount();
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL)) || wanted.empty() || count == 0) return -1;
    if (start < 0 || start >= count) start = 0;
    for (int i = 0; i < count; ++i) {
        const int row = (start + i) % count;
        if (StartsWithIgnoringCase(rows_.Row(static_cast<std::size_t>(row)).caption, wanted))
            return row;
        if (!(flags & LVFI_WRAP) && row == count - 1) break;
    }
    return -1;
}

LRESULT TSortListView::EndEdit(NMHDR& header, bool wide) {
    editing_ = false;
    int row = -1;
    std::string typed;
    bool cancelled = false;
    if (wide) {
        const auto& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        row = item.iItem;
        cancelled = item.pszText == nullptr;
        if (!cancelled) typed = Narrow(item.pszText);
    } else {
        const auto& item = reinterpret_cast<NMLVDISPINFOA&>(header).item;
        row = item.iItem;
        cancelled = item.pszText == nullptr;
        if (!cancelled) typed = item.pszText;
    }
    if (cancelled || !Valid(row)) return FALSE;
    if (OnEditEnded)
        OnEditEnded(row, std::move(typed));
    else
        SetCaption(row, std::move(typed));
    return FALSE;  // the text is ours; the control stores nothing
}

// --- rows ------------------------------------------------------------------------------------

void TSortListView::Reserve(int count) {
    if (count > 0) rows_.Reserve(static_cast<std::size_t>(count));
}

void TSortListView::BeginUpdate() {
    if (updating_++ == 0 && hwnd_) SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
}

void TSortListView::EndUpdate() {
    if (updating_ == 0 || --updating_ > 0) return;
    rows_.DropSpares();  // a load is done: what it did not use again goes
    SyncCount(true);
    if (const int key = std::exchange(pendingSort_, 0)) SortNow(key);
    if (!hwnd_) return;
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void TSortListView::SyncCount(bool keepScroll) {
    if (!hwnd_ || updating_ > 0) return;
    SendMessageA(hwnd_, LVM_SETITEMCOUNT, static_cast<WPARAM>(RowCount()),
                 keepScroll ? LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL : 0);
}

int TSortListView::AddRow(std::string caption, std::vector<std::string> subItems,
                          std::string data) {
    rows_.Add({std::move(caption), std::move(subItems), std::move(data)});
    SyncCount(true);
    return RowCount() - 1;
}

int TSortListView::AddTexts(std::string_view caption,
                            std::initializer_list<std::string_view> subItems,
                            std::string_view data) {
    rows_.Add(caption, subItems, data);
    SyncCount(true);
    return RowCount() - 1;
}

int TSortListView::InsertRow(int index, std::string caption, std::vector<std::string> subItems,
                             std::string data) {
    if (!Valid(index)) return AddRow(std::move(caption), std::move(subItems), std::move(data));
    // The control keeps the selection by index: rows at and after the new one move down.
    std::vector<int> selected = SelectedRows();
    int focused = FocusedRow();
    for (int& row : selected)
        if (row >= index) ++row;
    if (focused >= index) ++focused;
    rows_.Insert(static_cast<std::size_t>(index),
                 {std::move(caption), std::move(subItems), std::move(data)});
    SyncCount(true);
    RestoreSelection(selected, focused);
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
    return index;
}

void TSortListView::DeleteRow(int index) {
    if (!Valid(index)) return;
    rows_.Erase(static_cast<std::size_t>(index));
    // The control moves the selection of the rows below up by one.
    if (hwnd_) SendMessageA(hwnd_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void TSortListView::Clear() {
    rows_.Clear();
    if (hwnd_) SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0);
}

void TSortListView::ClearForReload() {
    rows_.ClearForReload();
    if (hwnd_) SendMessageA(hwnd_, LVM_DELETEALLITEMS, 0, 0);
}

std::string TSortListView::Caption(int row) const {
    return Valid(row) ? rows_.Row(static_cast<std::size_t>(row)).caption : std::string();
}

std::string_view TSortListView::Text(int row, int column) const {
    const std::string* text = TextAt(row, column);
    return text ? std::string_view(*text) : std::string_view();
}

void TSortListView::SetCaption(int row, std::string text) {
    if (!Valid(row)) return;
    rows_.SetCaption(static_cast<std::size_t>(row), std::move(text));
    RedrawRow(row);
}

int TSortListView::SubItemCount(int row) const {
    return Valid(row) ? static_cast<int>(rows_.Row(static_cast<std::size_t>(row)).subItems.size())
                      : 0;
}

std::string TSortListView::SubItem(int row, int sub) const {
    const std::string* text = TextAt(row, sub + 1);
    return sub >= 0 && text ? *text : std::string();
}

void TSortListView::SetSubItem(int row, int sub, std::string text) {
    if (!Valid(row) || sub < 0) return;
    rows_.SetSubItem(static_cast<std::size_t>(row), static_cast<std::size_t>(sub), std::move(text));
    RedrawRow(row);
}

void TSortListView::SetSubItems(int row, std::vector<std::string> subItems) {
    if (!Valid(row)) return;
    rows_.SetSubItems(static_cast<std::size_t>(row), std::move(subItems));
    RedrawRow(row);
}

std::string_view TSortListView::Data(int row) const {
    return Valid(row) ? std::string_view(rows_.Row(static_cast<std::size_t>(row)).data)
                      : std::string_view();
}

void TSortListView::SetData(int row, std::string bytes) {
    if (Valid(row)) rows_.SetData(static_cast<std::size_t>(row), std::move(bytes));
}

void TSortListView::RedrawRow(int row) {
    if (hwnd_ && updating_ == 0)
        SendMessageA(hwnd_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

// --- selection -----------------------------------------------------------------------------

int TSortListView::SelectedCount() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

int TSortListView::SelectedRow() const {
    if (!hwnd_) return -1;
    return static_cast<int>(
        SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<int> TSortListView::SelectedRows() const {
    std::vector<int> rows;
    if (!hwnd_) return rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                LVNI_SELECTED))) >= 0) {
        if (!rows.empty() && row <= rows.back()) break;  // never loop on a confused control
        rows.push_back(row);
    }
    return rows;
}

int TSortListView::FocusedRow() const {
    if (!hwnd_) return -1;
    return static_cast<int>(
        SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

static void SetState(HWND hwnd, int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void TSortListView::ClearSelection() {
    if (hwnd_) SetState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

void TSortListView::SelectRow(int row) {
    if (!hwnd_ || !Valid(row)) return;
    SetState(hwnd_, -1, 0, LVIS_SELECTED);
    SetState(hwnd_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(hwnd_, LVM_SETSELECTIONMARK, 0, row);
    SendMessageA(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void TSortListView::SetRowSelected(int row, bool selected) {
    if (hwnd_ && Valid(row)) SetState(hwnd_, row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void TSortListView::RestoreSelection(const std::vector<int>& rows, int focused) {
    if (!hwnd_) return;
    ClearSelection();
    for (int row : rows) SetState(hwnd_, row, LVIS_SELECTED, LVIS_SELECTED);
    if (focused >= 0) SetState(hwnd_, focused, LVIS_FOCUSED, LVIS_FOCUSED);
}

// --- editing, sorting, columns -------------------------------------------------------------

void TSortListView::BeginEdit(int row) {
    if (!hwnd_ || !Valid(row)) return;
    SetFocus(hwnd_);
    SendMessageA(hwnd_, LVM_EDITLABELA, static_cast<WPARAM>(row), 0);
}

void TSortListView::SortRows(int key) {
    if (updating_ > 0) {
        // Another column first sorts by the one before: the later sort keeps its ties.
        if (pendingSort_ != 0 && std::abs(pendingSort_) != std::abs(key)) SortNow(pendingSort_);
        pendingSort_ = key;
        return;
    }
    SortNow(key);
}

void TSortListView::SortNow(int key) {
    if (rows_.Count() < 2) return;
    // Asking an owner-data control for selected rows walks all rows: only when there are any.
    const std::vector<int> selected = SelectedCount() > 0 ? SelectedRows() : std::vector<int>();
    const int focused = FocusedRow();
    const std::vector<std::size_t> order = rows_.Sort(key);
    if (!hwnd_) return;
    // The selection and the focus follow their rows to their new places.
    std::vector<int> newIndex(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) newIndex[order[i]] = static_cast<int>(i);
    std::vector<int> moved;
    moved.reserve(selected.size());
    for (int row : selected)
        if (Valid(row)) moved.push_back(newIndex[static_cast<std::size_t>(row)]);
    if (!selected.empty() || focused >= 0)
        RestoreSelection(moved, Valid(focused) ? newIndex[static_cast<std::size_t>(focused)] : -1);
    if (updating_ == 0) InvalidateRect(hwnd_, nullptr, TRUE);
}

int TSortListView::ColumnCount() const {
    if (!hwnd_) return 0;
    HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int TSortListView::ColumnWidth(int column) const {
    if (!hwnd_ || column < 0 || column >= ColumnCount()) return 0;
    return static_cast<int>(
        SendMessageA(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

void TSortListView::SetColumnWidth(int column, int width) {
    if (!hwnd_ || column < 0 || column >= ColumnCount()) return;
    SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

// --- the date list ---------------------------------------------------------------------------

TDateSortListView::TDateSortListView(Form& form, std::string_view name)
    : TSortListView(form, name, RowOrder::Date) {}

int TDateSortListView::AddCall(std::string_view caption, std::string_view msnText,
                               std::string_view dateTimeText, const CallRowData& data) {
    return AddTexts(caption, {msnText, dateTimeText}, EncodeCallRowData(data));
}

}  // namespace telvor
