#include "ui/win/ConfigLists.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "base/StringTable.h"
#include "base/win/Handles.h"
#include "numbers/Numbers.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "ui/ConfigRows.h"
#include "ui/ListLayout.h"
#include "ui/win/LocalizeForm.h"

namespace telvor {

namespace {

// The texts of one row of the names or MSN list: caption, name, program, dmail.
const std::string& Cell(const CallerRow& row, int column) {
    switch (column) {
        case 0: return row.number;
        case 1: return row.name;
        case 2: return row.programColumn;
        default: return row.dmailColumn;
    }
}

const std::string& Cell(const MsnRow& row, int column) {
    switch (column) {
        case 0: return row.number;
        case 1: return row.name;
        case 2: return row.programColumn;
        default: return row.dmailColumn;
    }
}

const std::string& Cell(const CallRow& row, int column) {
    switch (column) {
        case 0: return row.caption;
        case 1: return row.msnText;
        default: return row.dateTimeText;
    }
}

CallerRow TextsOf(const MsnRow& row) {
    return {row.number, row.name, row.programColumn, row.dmailColumn};
}

// The locale's collation as the list compares texts (user default locale, case-sensitive,
// word sort). A sort key per row makes a sort of many rows one key build per row.
std::string SortKey(const std::string& text) {
    const int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(),
                                  static_cast<int>(text.size()), nullptr, 0);
    std::string key(static_cast<std::size_t>(std::max(size, 0)), '\0');
    if (size > 0)
        LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(),
                     static_cast<int>(text.size()), reinterpret_cast<LPSTR>(key.data()), size);
    return key;
}

// Sorts `rows` by `column`, ascending for direction 0 (sdDown), descending for 1 (sdUp).
template <class Row, class Less>
void SortRows(std::vector<Row>& rows, Less less, bool descending) {
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    if (descending)
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return less(b, a); });
    else
        std::stable_sort(order.begin(), order.end(), less);
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (std::size_t i : order) sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

template <class Row>
void SortByText(std::vector<Row>& rows, int column, bool descending) {
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (const Row& row : rows) keys.push_back(SortKey(Cell(row, column)));
    // The keys travel with their rows through the index permutation.
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    auto less = [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; };
    if (descending)
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return less(b, a); });
    else
        std::stable_sort(order.begin(), order.end(), less);
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (std::size_t i : order) sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

// Date and time of a call as the locale shows them; many calls share a day and a minute.
class DateTimeTexts {
  public:
    std::string Of(double time) {
        const long long day = static_cast<long long>(time);
        const long long minute = static_cast<long long>((time - static_cast<double>(day)) * 1440.0 + 1e-7);
        return Cached(dates_, day, [&] { return Format(time, true); }) + " " +
               Cached(times_, minute, [&] { return Format(time, false); });
    }

  private:
    template <class F>
    static const std::string& Cached(std::unordered_map<long long, std::string>& cache,
                                     long long key, F make) {
        auto it = cache.find(key);
        if (it == cache.end()) it = cache.emplace(key, make()).first;
        return it->second;
    }
    static std::string Format(double time, bool date) {
        SYSTEMTIME st{};
        if (!VariantTimeToSystemTimeLike(time, st)) return {};
        char text[64] = {};
        if (date)
            GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
        else
            GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, text, sizeof text);
        return text;
    }
    // Days since 30 December 1899 -> calendar time, without the OLE library.
    static bool VariantTimeToSystemTimeLike(double time, SYSTEMTIME& st) {
        if (!(time > -657434.0 && time < 2958466.0)) return false;
        const long long day = static_cast<long long>(time);
        double fraction = time - static_cast<double>(day);
        if (fraction < 0) fraction = -fraction;
        // 1601-01-01 is day -109205 of this count; FILETIME counts 100 ns from there.
        const long long ms = (day + 109205) * 86400000LL +
                             static_cast<long long>(fraction * 86400000.0 + 0.5);
        ULARGE_INTEGER ticks;
        ticks.QuadPart = static_cast<unsigned long long>(ms) * 10000ULL;
        FILETIME ft{ticks.LowPart, ticks.HighPart};
        return FileTimeToSystemTime(&ft, &st) != FALSE;
    }
    std::unordered_map<long long, std::string> dates_;
    std::unordered_map<long long, std::string> times_;
};

int SelectedIndex(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         LVNI_SELECTED));
}

void SetSelected(HWND list, int index, bool selected) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | (selected ? LVIS_FOCUSED : 0);
    item.state = selected ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void SelectOnly(HWND list, int index) {
    SetSelected(list, -1, false);
    if (index >= 0) {
        SetSelected(list, index, true);
        SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
    }
}

void SetCount(HWND list, std::size_t count) {
    SendMessageA(list, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL);
    InvalidateRect(list, nullptr, FALSE);
}

void SetColumnCaption(HWND list, int column, const std::string& text) {
    std::string caption = text;
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = caption.data();
    SendMessageA(list, LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
}

}  // namespace

struct ConfigLists::Impl {
    explicit Impl(Form& f) : form(f) {}

    Form& form;
    HWND calls = nullptr;
    HWND names = nullptr;
    HWND msnList = nullptr;
    std::vector<CallerRow> nameRows;
    std::vector<MsnRow> msnRows;
    std::vector<CallRow> callRows;
    ListLayout callsLayout{{0, 0, 0}, 2, 1};
    ListLayout namesLayout{{0, 0, 0, 0}, 0, 0};
    ListLayout msnLayout{{0, 0, 0, 0}, 0, 0};
    DateTimeTexts dateTimes;
    HWND editing = nullptr;  // the list whose caption is being edited
    std::string editCaption;  // its caption before the edit

    HWND Of(EntryMode list) const { return list == EntryMode::Caller ? names : msnList; }

    void Refresh(HWND list, std::size_t count) { SetCount(list, count); }

    // Text for one cell, on demand.
    LRESULT DisplayInfo(NMHDR& hdr) {
        auto& info = reinterpret_cast<NMLVDISPINFOA&>(hdr).item;
        if (!(info.mask & LVIF_TEXT) || !info.pszText || info.cchTextMax <= 0) return 0;
        const std::string* text = nullptr;
        static const std::string empty;
        const auto index = static_cast<std::size_t>(info.iItem);
        if (hdr.hwndFrom == calls && index < callRows.size())
            text = &Cell(callRows[index], info.iSubItem);
        else if (hdr.hwndFrom == names && index < nameRows.size())
            text = &Cell(nameRows[index], info.iSubItem);
        else if (hdr.hwndFrom == msnList && index < msnRows.size())
            text = &Cell(msnRows[index], info.iSubItem);
        lstrcpynA(info.pszText, (text ? *text : empty).c_str(), info.cchTextMax);
        return 0;
    }

    void Sort(HWND list) {
        if (list == calls) {
            const int c = callsLayout.sortedColumn;
            const bool up = callsLayout.sortDirection == 1;
            if (c == 2)
                SortRows(callRows, [&](std::size_t a, std::size_t b) {
                    return callRows[a].time < callRows[b].time;
                }, up);
            else
                SortByText(callRows, c, up);
            Refresh(calls, callRows.size());
        } else if (list == names) {
            SortByText(nameRows, namesLayout.sortedColumn, namesLayout.sortDirection == 1);
            Refresh(names, nameRows.size());
        } else if (list == msnList) {
            SortByText(msnRows, msnLayout.sortedColumn, msnLayout.sortDirection == 1);
            Refresh(msnList, msnRows.size());
        }
    }

    ListLayout& LayoutOf(HWND list) {
        return list == calls ? callsLayout : list == names ? namesLayout : msnLayout;
    }

    // A header click: the sorted column again flips the direction, another column starts
    // ascending.
    void ColumnClick(HWND list, int column) {
        ListLayout& l = LayoutOf(list);
        l.sortDirection = (column != l.sortedColumn || l.sortDirection == 1) ? 0 : 1;
        l.sortedColumn = column;
        SelectOnly(list, -1);
        Sort(list);
    }
};

ConfigLists::ConfigLists(Form& form) : impl_(std::make_unique<Impl>(form)) {
    Impl& m = *impl_;
    m.calls = form.Control("CallsLV");
    m.names = form.Control("ListViewL");
    m.msnList = form.Control("MSNLV");
    for (const char* list : {"CallsLV", "ListViewL", "MSNLV"}) {
        form.OnNotify(list, LVN_GETDISPINFOA,
                      [this](NMHDR& hdr) -> LRESULT { return impl_->DisplayInfo(hdr); });
        form.OnNotify(list, LVN_COLUMNCLICK, [this](NMHDR& hdr) -> LRESULT {
            impl_->ColumnClick(hdr.hwndFrom, reinterpret_cast<NMLISTVIEW&>(hdr).iSubItem);
            return 0;
        });
    }
    for (const char* list : {"ListViewL", "MSNLV"}) {
        form.OnNotify(list, LVN_BEGINLABELEDITA, [this](NMHDR& hdr) -> LRESULT {
            impl_->editing = hdr.hwndFrom;
            const int index = reinterpret_cast<NMLVDISPINFOA&>(hdr).item.iItem;
            const bool names = hdr.hwndFrom == impl_->names;
            impl_->editCaption = names ? impl_->nameRows[static_cast<std::size_t>(index)].number
                                       : impl_->msnRows[static_cast<std::size_t>(index)].number;
            return FALSE;
        });
    }
    // The call list's columns are captioned by code (cleared, then 12, 13, 14).
    FocusEntered("CallsLV");
}

ConfigLists::~ConfigLists() = default;

bool RunEntryDialog(TEditDbEntry&, EntryMode, EntryFields&, HWND) {
    return false;
}

void ConfigLists::Clear() {
    Impl& m = *impl_;
    m.nameRows.clear();
    m.msnRows.clear();
    m.callRows.clear();
    for (HWND list : {m.calls, m.names, m.msnList}) {
        SelectOnly(list, -1);
        m.Refresh(list, 0);
    }
}

void ConfigLists::Load(SettingsStore& store, const AppSettings& settings) {
    Impl& m = *impl_;
    const std::vector<CallerRecord> callers = LoadCallers(settings.callerFile);
    m.nameRows.reserve(callers.size());
    for (const CallerRecord& record : callers) m.nameRows.push_back(ToRow(record));
    for (const MsnEntry& entry : ReadMsnList(store)) m.msnRows.push_back(ToMsnRow(entry));
    const std::vector<CallRecord> calls = LoadCalls(settings.callFile);
    m.callRows.reserve(calls.size());
    for (const CallRecord& record : calls)
        m.callRows.push_back(ToCallRow(record, m.dateTimes.Of(record.time)));
    m.Refresh(m.names, m.nameRows.size());
    m.Refresh(m.msnList, m.msnRows.size());
    m.Refresh(m.calls, m.callRows.size());
}

void ConfigLists::ConvertNames(
    const std::function<void(std::vector<CallerRow>&, SettingsStore&)>& convert,
    SettingsStore& store) {
    convert(impl_->nameRows, store);
    impl_->Refresh(impl_->names, impl_->nameRows.size());
}

void ConfigLists::ApplyLayouts(SettingsStore& store, int scrollBarWidth) {
    Impl& m = *impl_;
    const std::pair<HWND, ConfigList> lists[] = {
        {m.calls, ConfigList::Calls}, {m.names, ConfigList::Names}, {m.msnList, ConfigList::Msns}};
    for (const auto& [list, which] : lists) {
        ListLayout layout = ReadListLayout(store, which, scrollBarWidth);
        for (std::size_t i = 0; i < layout.widths.size(); ++i)
            SendMessageA(list, LVM_SETCOLUMNWIDTH, i, layout.widths[i]);
        const int columns = static_cast<int>(layout.widths.size());
        ListLayout& current = m.LayoutOf(list);
        // A column beyond the list, or a negative one, is ignored.
        if (layout.sortedColumn >= 0 && layout.sortedColumn < columns)
            current.sortedColumn = layout.sortedColumn;
        current.sortDirection = layout.sortDirection;
        m.Sort(list);
    }
}

void ConfigLists::SaveLayouts(SettingsStore& store) {
    Impl& m = *impl_;
    const std::pair<HWND, ConfigList> lists[] = {
        {m.calls, ConfigList::Calls}, {m.names, ConfigList::Names}, {m.msnList, ConfigList::Msns}};
    for (const auto& [list, which] : lists) {
        ListLayout layout = m.LayoutOf(list);
        for (std::size_t i = 0; i < layout.widths.size(); ++i)
            layout.widths[i] = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
        WriteListLayout(store, which, layout);
    }
}

ConfigContent ConfigLists::Content() const {
    ConfigContent content;
    content.callers = impl_->nameRows;
    content.msns = impl_->msnRows;
    content.calls = impl_->callRows;
    return content;
}

void ConfigLists::AddCall(const CallRow& row) {
    impl_->callRows.push_back(row);
    impl_->Refresh(impl_->calls, impl_->callRows.size());
}

std::size_t ConfigLists::CallCount() const {
    return impl_->callRows.size();
}

void ConfigLists::AddNames(const std::vector<CallerRow>& rows) {
    impl_->nameRows.insert(impl_->nameRows.end(), rows.begin(), rows.end());
    impl_->Refresh(impl_->names, impl_->nameRows.size());
}

void ConfigLists::AppendNew(EntryMode list) {
    Impl& m = *impl_;
    std::size_t count = 0;
    if (list == EntryMode::Caller) {
        m.nameRows.push_back(NewCallerRow());
        count = m.nameRows.size();
    } else {
        m.msnRows.push_back(NewMsnRow());
        count = m.msnRows.size();
    }
    m.Refresh(m.Of(list), count);
    SelectOnly(m.Of(list), static_cast<int>(count) - 1);
}

bool ConfigLists::Selected(EntryMode list, CallerRow& row) const {
    const Impl& m = *impl_;
    const int index = SelectedIndex(m.Of(list));
    if (index < 0) return false;
    const auto i = static_cast<std::size_t>(index);
    if (list == EntryMode::Caller) {
        if (i >= m.nameRows.size()) return false;
        row = m.nameRows[i];
    } else {
        if (i >= m.msnRows.size()) return false;
        row = TextsOf(m.msnRows[i]);
    }
    return true;
}

bool ConfigLists::HasSelection(EntryMode list) const {
    CallerRow row;
    return Selected(list, row);
}

void ConfigLists::SetSelected(EntryMode list, const CallerRow& row) {
    Impl& m = *impl_;
    const int index = SelectedIndex(m.Of(list));
    if (index < 0) return;
    const auto i = static_cast<std::size_t>(index);
    if (list == EntryMode::Caller && i < m.nameRows.size()) {
        m.nameRows[i] = row;
    } else if (list == EntryMode::Msn && i < m.msnRows.size()) {
        MsnRow& msn = m.msnRows[i];
        msn.number = row.number;
        msn.name = row.name;
        msn.programColumn = row.programColumn;
        msn.dmailColumn = row.dmailColumn;
    }
    InvalidateRect(m.Of(list), nullptr, FALSE);
}

void ConfigLists::DeleteSelected(EntryMode list) {
    Impl& m = *impl_;
    HWND view = m.Of(list);
    const int index = SelectedIndex(view);
    if (index < 0) return;
    SelectOnly(view, -1);
    const auto i = static_cast<std::ptrdiff_t>(index);
    if (list == EntryMode::Caller && static_cast<std::size_t>(i) < m.nameRows.size()) {
        m.nameRows.erase(m.nameRows.begin() + i);
        m.Refresh(view, m.nameRows.size());
    } else if (list == EntryMode::Msn && static_cast<std::size_t>(i) < m.msnRows.size()) {
        m.msnRows.erase(m.msnRows.begin() + i);
        m.Refresh(view, m.msnRows.size());
    }
}

bool ConfigLists::SelectedMsnFlags(MsnFlags& flags) const {
    const int index = SelectedIndex(impl_->msnList);
    if (index < 0 || static_cast<std::size_t>(index) >= impl_->msnRows.size()) return false;
    flags = impl_->msnRows[static_cast<std::size_t>(index)].flags;
    return true;
}

bool ConfigLists::SetSelectedMsnFlag(int flag, bool value) {
    const int index = SelectedIndex(impl_->msnList);
    if (index < 0 || static_cast<std::size_t>(index) >= impl_->msnRows.size()) return false;
    impl_->msnRows[static_cast<std::size_t>(index)].flags[static_cast<std::size_t>(flag)] = value;
    return true;
}

std::optional<CallRow> ConfigLists::SelectedCall() const {
    const int index = SelectedIndex(impl_->calls);
    if (index < 0 || static_cast<std::size_t>(index) >= impl_->callRows.size()) return {};
    return impl_->callRows[static_cast<std::size_t>(index)];
}

int ConfigLists::DeleteSelectedCalls() {
    Impl& m = *impl_;
    std::vector<std::size_t> selected;
    for (int i = SelectedIndex(m.calls); i >= 0;
         i = static_cast<int>(SendMessageA(m.calls, LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                           LVNI_SELECTED)))
        if (static_cast<std::size_t>(i) < m.callRows.size()) selected.push_back(static_cast<std::size_t>(i));
    if (selected.empty()) return 0;
    SelectOnly(m.calls, -1);
    std::vector<CallRow> kept;
    kept.reserve(m.callRows.size() - selected.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < m.callRows.size(); ++i) {
        if (next < selected.size() && selected[next] == i) {
            ++next;
            continue;
        }
        kept.push_back(std::move(m.callRows[i]));
    }
    m.callRows = std::move(kept);
    m.Refresh(m.calls, m.callRows.size());
    return static_cast<int>(selected.size());
}

void ConfigLists::DeleteAllCalls() {
    impl_->callRows.clear();
    SelectOnly(impl_->calls, -1);
    impl_->Refresh(impl_->calls, 0);
}

void ConfigLists::StartInPlaceEdit(EntryMode list) {
    HWND view = impl_->Of(list);
    const int index = SelectedIndex(view);
    if (index < 0) return;
    SetFocus(view);
    SendMessageA(view, LVM_EDITLABELA, static_cast<WPARAM>(index), 0);
}

bool ConfigLists::Editing() const {
    Impl& m = *impl_;
    for (HWND list : {m.names, m.msnList})
        if (SendMessageA(list, LVM_GETEDITCONTROL, 0, 0)) return true;
    return false;
}

// Enter takes the typed text (MSNs as keypad digits), Esc keeps the caption; either way the
// key ends the edit and goes no further.
bool ConfigLists::EndInPlaceEdit(bool cancel, bool& changed) {
    Impl& m = *impl_;
    changed = false;
    for (HWND list : {m.msnList, m.names}) {
        HWND edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0));
        if (!edit) continue;
        const int length = GetWindowTextLengthA(edit);
        std::string typed(static_cast<std::size_t>(length) + 1, '\0');
        typed.resize(static_cast<std::size_t>(GetWindowTextA(edit, typed.data(), length + 1)));
        SendMessageA(list, LVM_CANCELEDITLABEL, 0, 0);
        if (!cancel)
            TakeEditedCaption(list == m.names ? EntryMode::Caller : EntryMode::Msn, typed, changed);
        m.editing = nullptr;
        return true;
    }
    return false;
}

std::optional<std::string> ConfigLists::TakeEditedCaption(EntryMode list, const std::string& typed,
                                                          bool& changed) {
    CallerRow row;
    changed = false;
    if (!Selected(list, row)) return {};
    const std::string caption = list == EntryMode::Msn ? KeypadDigits(typed) : typed;
    changed = caption != row.number;
    row.number = caption;
    SetSelected(list, row);
    return caption;
}

void ConfigLists::FocusEntered(const char* list) {
    Impl& m = *impl_;
    const std::string name = list;
    HWND view = m.calls;
    std::size_t count = m.callRows.size();
    if (name == "CallsLV") {
        for (int c = 0; c < 3; ++c) SetColumnCaption(m.calls, c, "");
        for (int c = 0; c < 3; ++c) SetColumnCaption(m.calls, c, LoadStr(12 + c));
    } else if (name == "MSNLV") {
        view = m.msnList;
        count = m.msnRows.size();
        const unsigned ids[3] = {22, 25, 56};
        for (int c = 0; c < 3; ++c) SetColumnCaption(m.msnList, c, LoadStr(ids[c]));
    } else {
        view = m.names;
        count = m.nameRows.size();
    }
    if (SelectedIndex(view) < 0 && count > 0) SelectOnly(view, 0);
}

UINT ConfigLists::PopupMenu(const char* list, POINT screen) {
    struct Item {
        UINT id;
        const char* caption;
    };
    const std::string name = list;
    std::vector<Item> items;
    if (name == "ListViewL")
        items = {{NamesAdd, "10001"}, {NamesDelete, "10002"}, {NamesImport, "10005"},
                 {0, "10003"}, {NamesProperties, "10004"}};
    else if (name == "CallsLV")
        items = {{CallsDelete, "10101"}, {CallsToDatabase, "10102"}};
    else
        items = {{MsnAdd, "10201"}, {MsnDelete, "10202"}, {0, "10203"}, {MsnProperties, "10204"}};
    UniqueMenu menu(CreatePopupMenu());
    UINT separator = 390;
    for (const Item& item : items)
        AppendMenuA(menu.get(), MF_STRING, item.id ? item.id : separator++, item.caption);
    LocalizeMenu(menu.get());
    return static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                            screen.y, 0, impl_->form.Handle(), nullptr));
}

HWND ConfigLists::ListOf(EntryMode list) const {
    return impl_->Of(list);
}

}  // namespace telvor
