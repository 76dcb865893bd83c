#include "ui/win/ConfigLists.h"

#include <windows.h>

#include <algorithm>
#include <commctrl.h>
#include <unordered_map>

#include "base/StringTable.h"
#include "base/win/Handles.h"
#include "numbers/Numbers.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "ui/ConfigRows.h"
#include "ui/ListLayout.h"
#include "ui/win/EntryDialog.h"
#include "ui/win/LocalizeForm.h"
#include "ui/win/SortListView.h"

namespace telvor {

namespace {

// Date and time of a call as the locale shows them; many calls share a day and a minute.
class DateTimeTexts {
  public:
    // Valid until the next call.
    std::string_view Of(double time) {
        const long long day = static_cast<long long>(time);
        const long long minute =
            static_cast<long long>((time - static_cast<double>(day)) * 1440.0 + 1e-7);
        const std::string& date = Cached(dates_, day, [&] { return Format(time, true); });
        const std::string& clock = Cached(times_, minute, [&] { return Format(time, false); });
        text_.assign(date);
        text_ += ' ';
        text_.append(clock);
        return text_;
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
        const long long ms =
            (day + 109205) * 86400000LL + static_cast<long long>(fraction * 86400000.0 + 0.5);
        ULARGE_INTEGER ticks;
        ticks.QuadPart = static_cast<unsigned long long>(ms) * 10000ULL;
        FILETIME ft{ticks.LowPart, ticks.HighPart};
        return FileTimeToSystemTime(&ft, &st) != FALSE;
    }
    std::unordered_map<long long, std::string> dates_;
    std::unordered_map<long long, std::string> times_;
    std::string text_;
};

std::string FlagBytes(const MsnFlags& flags) {
    std::string bytes(flags.size(), '\0');
    for (std::size_t i = 0; i < flags.size(); ++i) bytes[i] = flags[i] ? 1 : 0;
    return bytes;
}

MsnFlags FlagsOf(std::string_view bytes) {
    MsnFlags flags{};
    for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = i < bytes.size() && bytes[i] != 0;
    return flags;
}

std::vector<std::string> SubItemsOf(const CallerRow& row) {
    return {row.name, row.programColumn, row.dmailColumn};
}

CallerRow RowAt(const TSortListView& list, int row) {
    return {list.Caption(row), list.SubItem(row, 0), list.SubItem(row, 1), list.SubItem(row, 2)};
}

void SetColumnCaption(HWND list, int column, const std::string& text) {
    std::string caption = text;
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = caption.data();
    SendMessageA(list, LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
}

// The call list's rows as records: texts and date read in place, nothing copied.
class CallRowSource final : public CallSource {
  public:
    explicit CallRowSource(const TDateSortListView& list) : list_(list) {}
    std::size_t Count() const override { return static_cast<std::size_t>(list_.RowCount()); }
    CallView At(std::size_t index) const override {
        const int row = static_cast<int>(index);
        const CallRowData data = list_.CallData(row);
        return {list_.Text(row, 0), list_.Text(row, 1), data.time, data.notInDatabase};
    }

  private:
    const TDateSortListView& list_;
};

// The call list file straight into the list: each record becomes its row while it is still in
// the reader's buffer.
class CallRowSink final : public CallSink {
  public:
    CallRowSink(TDateSortListView& list, DateTimeTexts& dateTimes)
        : list_(list), dateTimes_(dateTimes) {}
    void Expect(std::size_t count) override { list_.Reserve(static_cast<int>(count)); }
    void Add(const CallView& call) override {
        list_.AddCall(call.name, call.called, dateTimes_.Of(call.time),
                      {call.time, call.notInDatabase});
    }

  private:
    TDateSortListView& list_;
    DateTimeTexts& dateTimes_;
};

// One update of the control (a load, with room for all rows made at once, or a sort state):
// counted, sorted and repainted once, at the end.
class UpdateScope {
  public:
    explicit UpdateScope(TSortListView& list, std::size_t rows = 0) : list_(list) {
        list_.BeginUpdate();
        list_.Reserve(static_cast<int>(rows));
    }
    ~UpdateScope() { list_.EndUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

  private:
    TSortListView& list_;
};

}  // namespace

bool RunEntryDialog(TEditDbEntry& dialog, EntryList list, EntryFields& fields, int dmailMode) {
    EntryValues values{fields.number,    fields.name,         fields.program,
                       fields.parameter, fields.dmailChecked, false};
    const EntryMode mode = list == EntryList::Names ? EntryMode::CallerDatabase : EntryMode::Msn;
    if (!dialog.Edit(mode, values, dmailMode)) return false;
    fields.number = values.number;
    fields.name = values.name;
    fields.program = values.program;
    fields.parameter = values.parameter;
    fields.dmailEnabled = values.dmailEnabled;
    fields.dmailChecked = values.dmail;
    return true;
}

struct ConfigLists::Impl {
    explicit Impl(Form& f)
        : form(f), calls(f, "CallsLV"), names(f, "ListViewL"), msns(f, "MSNLV"), callRows(calls) {}

    Form& form;
    TDateSortListView calls;
    TSortListView names;
    TSortListView msns;
    DateTimeTexts dateTimes;
    CallRowSource callRows;

    TSortListView& Of(EntryList list) { return list == EntryList::Names ? names : msns; }
    const TSortListView& Of(EntryList list) const {
        return list == EntryList::Names ? names : msns;
    }
};

ConfigLists::ConfigLists(Form& form) : impl_(std::make_unique<Impl>(form)) {
    // The call list's columns are captioned by code (cleared, then 12, 13, 14).
    FocusEntered("CallsLV");
}

ConfigLists::~ConfigLists() = default;

// The lists are loaded again at once: their rows' storage is kept for it.
void ConfigLists::Clear() {
    impl_->calls.ClearForReload();
    impl_->names.ClearForReload();
    impl_->msns.ClearForReload();
}

void ConfigLists::Load(SettingsStore& store, const AppSettings& settings) {
    Impl& m = *impl_;
    {
        const std::vector<CallerRecord> callers = LoadCallers(settings.callerFile);
        UpdateScope scope(m.names, callers.size());
        for (const CallerRecord& record : callers) {
            CallerRow row = ToRow(record);
            m.names.AddRow(std::move(row.number), SubItemsOf(row));
        }
    }
    for (const MsnEntry& entry : ReadMsnList(store)) {
        MsnRow row = ToMsnRow(entry);
        m.msns.AddRow(row.number, {row.name, row.programColumn, row.dmailColumn},
                      FlagBytes(row.flags));
    }
    UpdateScope scope(m.calls);
    CallRowSink sink(m.calls, m.dateTimes);
    ReadCalls(settings.callFile, sink);  // a file that cannot be read leaves the list empty
}

void ConfigLists::OnListKeys(std::function<bool(const char*, WORD, bool)> systemKey,
                             std::function<void(const char*)> menuKey) {
    Impl& m = *impl_;
    const std::pair<TSortListView*, const char*> lists[] = {
        {&m.calls, "CallsLV"}, {&m.names, "ListViewL"}, {&m.msns, "MSNLV"}};
    for (const auto& [view, name] : lists) {
        view->OnSystemKey = [systemKey, name = name](WORD key, bool alt) {
            return systemKey(name, key, alt);
        };
        view->OnKeyboardMenu = [menuKey, name = name] { menuKey(name); };
    }
}

void ConfigLists::ConvertNames(const CallerNumberConversion& conversion) {
    TSortListView& names = impl_->names;
    UpdateScope scope(names);
    for (int i = 0; i < names.RowCount(); ++i)
        names.SetCaption(i, conversion.Convert(RowAt(names, i).number));
}

void ConfigLists::ApplyLayouts(SettingsStore& store, int scrollBarWidth) {
    Impl& m = *impl_;
    const std::pair<TSortListView*, ConfigList> lists[] = {
        {&m.calls, ConfigList::Calls}, {&m.names, ConfigList::Names}, {&m.msns, ConfigList::Msns}};
    for (const auto& [list, which] : lists) {
        const ListLayout layout = ReadListLayout(store, which, scrollBarWidth);
        for (std::size_t i = 0; i < layout.widths.size(); ++i)
            list->SetColumnWidth(static_cast<int>(i), layout.widths[i]);
        // Column, then direction: one update, so the rows are sorted once, by both.
        UpdateScope scope(*list);
        // A negative column (only from edited settings) is not used.
        if (layout.sortedColumn >= 0) list->SetSortedColumn(layout.sortedColumn);
        list->SetSortDirection(static_cast<unsigned char>(layout.sortDirection));
    }
}

void ConfigLists::SaveLayouts(SettingsStore& store) {
    Impl& m = *impl_;
    const std::pair<TSortListView*, ConfigList> lists[] = {
        {&m.calls, ConfigList::Calls}, {&m.names, ConfigList::Names}, {&m.msns, ConfigList::Msns}};
    for (const auto& [list, which] : lists) {
        ListLayout layout;
        for (int i = 0; i < list->ColumnCount(); ++i) layout.widths.push_back(list->ColumnWidth(i));
        layout.sortedColumn = list->SortedColumn();
        layout.sortDirection = list->SortDirection();
        WriteListLayout(store, which, layout);
    }
}

ConfigContent ConfigLists::Content() const {
    const Impl& m = *impl_;
    ConfigContent content;
    content.callers.reserve(static_cast<std::size_t>(m.names.RowCount()));
    for (int i = 0; i < m.names.RowCount(); ++i) content.callers.push_back(RowAt(m.names, i));
    for (int i = 0; i < m.msns.RowCount(); ++i) {
        const CallerRow texts = RowAt(m.msns, i);
        content.msns.push_back({texts.number, texts.name, texts.programColumn, texts.dmailColumn,
                                FlagsOf(m.msns.Data(i))});
    }
    return content;
}

const CallSource& ConfigLists::Calls() const {
    return impl_->callRows;
}

void ConfigLists::AddCall(const CallRow& row) {
    impl_->calls.AddCall(row.caption, row.msnText, row.dateTimeText, {row.time, row.notInDatabase});
}

std::size_t ConfigLists::CallCount() const {
    return static_cast<std::size_t>(impl_->calls.RowCount());
}

void ConfigLists::AddNames(const std::vector<CallerRow>& rows) {
    UpdateScope scope(impl_->names, rows.size());
    for (const CallerRow& row : rows) impl_->names.AddRow(row.number, SubItemsOf(row));
}

void ConfigLists::AppendNew(EntryList list) {
    TSortListView& view = impl_->Of(list);
    const int row = list == EntryList::Names
                        ? view.AddRow(NewEntryCaption, {"", "", ""})
                        : view.AddRow(NewMsnCaption, {"", "", ""}, FlagBytes(DefaultMsnFlags()));
    view.SelectRow(row);
}

bool ConfigLists::Selected(EntryList list, CallerRow& row) const {
    return SelectedIndex(list, row) >= 0;
}

int ConfigLists::SelectedIndex(EntryList list, CallerRow& row) const {
    const TSortListView& view = impl_->Of(list);
    const int index = view.SelectedRow();
    if (index >= 0) row = RowAt(view, index);
    return index;
}

bool ConfigLists::HasSelection(EntryList list) const {
    return impl_->Of(list).SelectedRow() >= 0;
}

void ConfigLists::SetAt(EntryList list, int index, const CallerRow& row) {
    TSortListView& view = impl_->Of(list);
    if (!view.Valid(index)) return;
    view.SetCaption(index, row.number);
    view.SetSubItems(index, SubItemsOf(row));
}

void ConfigLists::DeleteAt(EntryList list, int index) {
    TSortListView& view = impl_->Of(list);
    if (view.Valid(index)) view.DeleteRow(index);
}

void ConfigLists::DeleteSelected(EntryList list) {
    DeleteAt(list, impl_->Of(list).SelectedRow());
}

bool ConfigLists::SelectedMsnFlags(MsnFlags& flags) const {
    const int index = impl_->msns.SelectedRow();
    if (index < 0) return false;
    flags = FlagsOf(impl_->msns.Data(index));
    return true;
}

bool ConfigLists::SetSelectedMsnFlag(int flag, bool value) {
    TSortListView& msns = impl_->msns;
    const int index = msns.SelectedRow();
    if (index < 0) return false;
    MsnFlags flags = FlagsOf(msns.Data(index));
    flags[static_cast<std::size_t>(flag)] = value;
    msns.SetData(index, FlagBytes(flags));
    return true;
}

std::optional<CallRow> ConfigLists::SelectedCall() const {
    const TDateSortListView& calls = impl_->calls;
    const int index = calls.SelectedRow();
    if (index < 0) return {};
    const CallRowData data = calls.CallData(index);
    return CallRow{calls.Caption(index), calls.SubItem(index, 0), calls.SubItem(index, 1),
                   data.time, data.notInDatabase};
}

int ConfigLists::DeleteSelectedCalls() {
    TDateSortListView& calls = impl_->calls;
    std::vector<int> selected = calls.SelectedRows();
    std::sort(selected.rbegin(), selected.rend());
    calls.BeginUpdate();
    for (int row : selected) calls.DeleteRow(row);
    calls.EndUpdate();
    return static_cast<int>(selected.size());
}

void ConfigLists::DeleteAllCalls() {
    impl_->calls.Clear();
}

void ConfigLists::StartInPlaceEdit(EntryList list) {
    TSortListView& view = impl_->Of(list);
    const int index = view.SelectedRow();
    if (index < 0) return;
    SetFocus(view.Handle());
    view.BeginEdit(index);
}

bool ConfigLists::Editing() const {
    return impl_->names.Editing() || impl_->msns.Editing();
}

// Enter takes the typed text (MSNs as keypad digits), Esc keeps the caption; either way the
// key ends the edit and goes no further.
bool ConfigLists::EndInPlaceEdit(bool cancel, bool& changed) {
    changed = false;
    for (EntryList list : {EntryList::Msns, EntryList::Names}) {
        TSortListView& view = impl_->Of(list);
        HWND edit = reinterpret_cast<HWND>(SendMessageA(view.Handle(), LVM_GETEDITCONTROL, 0, 0));
        if (!edit) continue;
        const int length = GetWindowTextLengthA(edit);
        std::string typed(static_cast<std::size_t>(length) + 1, '\0');
        typed.resize(static_cast<std::size_t>(GetWindowTextA(edit, typed.data(), length + 1)));
        SendMessageA(view.Handle(), LVM_CANCELEDITLABEL, 0, 0);
        if (!cancel) TakeEditedCaption(list, typed, changed);
        return true;
    }
    return false;
}

std::optional<std::string> ConfigLists::TakeEditedCaption(EntryList list, const std::string& typed,
                                                          bool& changed) {
    CallerRow row;
    changed = false;
    if (!Selected(list, row)) return {};
    const std::string caption = list == EntryList::Msns ? KeypadDigits(typed) : typed;
    changed = caption != row.number;
    impl_->Of(list).SetCaption(impl_->Of(list).SelectedRow(), caption);
    return caption;
}

void ConfigLists::SetEditEnded(std::function<void(bool changed)> changed) {
    for (EntryList list : {EntryList::Names, EntryList::Msns}) {
        impl_->Of(list).OnEditEnded = [this, list, changed](int, std::string typed) {
            bool differs = false;
            TakeEditedCaption(list, typed, differs);
            if (changed) changed(differs);
        };
    }
}

void ConfigLists::FocusEntered(const char* list) {
    Impl& m = *impl_;
    const std::string name = list;
    TSortListView* view = &m.names;
    if (name == "CallsLV") {
        view = &m.calls;
        for (int c = 0; c < 3; ++c) SetColumnCaption(m.calls.Handle(), c, "");
        for (int c = 0; c < 3; ++c) SetColumnCaption(m.calls.Handle(), c, LoadStr(12 + c));
    } else if (name == "MSNLV") {
        view = &m.msns;
        const unsigned ids[3] = {22, 25, 56};
        for (int c = 0; c < 3; ++c) SetColumnCaption(m.msns.Handle(), c, LoadStr(ids[c]));
    }
    if (view->SelectedRow() < 0 && view->RowCount() > 0) view->SelectRow(0);
}

UINT ConfigLists::PopupMenu(const char* list, POINT screen) {
    struct Item {
        UINT id;
        const char* caption;
    };
    const std::string name = list;
    std::vector<Item> items;
    if (name == "ListViewL")
        items = {{NamesAdd, "10001"},   {NamesDelete, "10002"},     {NamesImport, "10005"},
                 {0, "10003"},          {NamesProperties, "10004"}, {0, "10003"},
                 {NamesExport, "10006"}};
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

HWND ConfigLists::ListOf(EntryList list) const {
    return impl_->Of(list).Handle();
}

}  // namespace telvor
