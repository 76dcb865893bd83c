// The sortable lists on a real owner-data list view: rows read back through the control's own
// messages, header clicks, the selection following its rows, and in-place editing.
#include "ui/win/SortListView.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/WinTestSupport.h"

namespace telvor {
namespace {

// What a screen reader or another program reads: LVM_GETITEMTEXTA, which an owner-data
// control answers through LVN_GETDISPINFO.
std::string ItemText(HWND list, int row, int column) {
    char buffer[64] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::vector<std::string> Column(HWND list, int column) {
    std::vector<std::string> texts;
    const auto count = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < count; ++row) texts.push_back(ItemText(list, row, column));
    return texts;
}

void ClickHeader(HWND list, int column) {
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = list;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    SendMessageA(GetParent(list), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

FormDef ListsDef() {
    FormDef def{"Lists", "1"};
    def.clientWidth = 500;
    def.clientHeight = 300;
    def.controls = {
        {.kind = ControlKind::GroupBox,
         .name = "Frame",
         .left = 0,
         .top = 0,
         .width = 490,
         .height = 140,
         .caption = "9"},
        {.kind = ControlKind::DateSortListView,
         .name = "CallsLV",
         .left = 8,
         .top = 16,
         .width = 400,
         .height = 110,
         .tabOrder = 0,
         .flags = kMultiSelect,
         .parent = "Frame",
         .columns = {{"12", 150}, {"13", 80}, {"14", 120}}},
        {.kind = ControlKind::SortListView,
         .name = "ListViewL",
         .left = 8,
         .top = 150,
         .width = 400,
         .height = 110,
         .tabOrder = 1,
         .flags = kEditLabels,
         .columns = {{"16", 100}, {"17", 160}, {"18", 100}, {"69", 15}}},
    };
    return def;
}

struct Lists : ::testing::Test {
    void SetUp() override {
        FormResult r = Form::Create(ListsDef());
        ASSERT_TRUE(r.form) << r.error;
        form = std::move(r.form);
        calls = std::make_unique<TDateSortListView>(*form, "CallsLV");
        names = std::make_unique<TSortListView>(*form, "ListViewL");
        form->Show();
    }
    void TearDown() override {
        calls.reset();
        names.reset();
        if (form) form->Destroy();
    }
    std::unique_ptr<Form> form;
    std::unique_ptr<TDateSortListView> calls;
    std::unique_ptr<TSortListView> names;
};

TEST_F(Lists, RowsReadBackSortAndKeepTheirSelection) {
    HWND list = calls->Handle();
    ASSERT_TRUE(GetWindowLongPtrA(list, GWL_STYLE) & LVS_OWNERDATA);
    calls->BeginUpdate();
    calls->AddCall("9", "4711", "01.01.2024 10:00", {45292.5, true});
    calls->AddCall("10", "4712", "01.01.2024 09:00", {45292.4, false});
    calls->AddCall("089", "4713", "same", {45292.6, false});
    calls->AddCall("0711", "4714", "same", {45292.6, false});
    calls->EndUpdate();
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"9", "10", "089", "0711"}));
    EXPECT_EQ(Column(list, 1), (std::vector<std::string>{"4711", "4712", "4713", "4714"}));
    EXPECT_EQ(ItemText(list, 0, 2), "01.01.2024 10:00");
    EXPECT_EQ(ItemText(list, 0, 3), "");  // no such column

    calls->SetRowSelected(0, true);  // "9"
    calls->SetRowSelected(3, true);  // "0711"
    // The call list's defaults: newest first, equal date/times in their present order.
    calls->SetSortedColumn(2);
    calls->SetSortDirection(sdUp);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"089", "0711", "9", "10"}));
    EXPECT_EQ(calls->SelectedRows(), (std::vector<int>{1, 2}));

    ClickHeader(list, 0);  // the locale's text order: numbers are texts
    EXPECT_EQ(calls->SortedColumn(), 0);
    EXPECT_EQ(calls->SortDirection(), sdDown);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"0711", "089", "10", "9"}));
    EXPECT_EQ(calls->SelectedRows(), (std::vector<int>{0, 3}));
    ClickHeader(list, 0);
    EXPECT_EQ(calls->SortDirection(), sdUp);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"9", "10", "089", "0711"}));

    // A later row stays at the end until the next sort; deleting moves the selection up.
    calls->AddCall("00", "1", "x", {1, false});
    EXPECT_EQ(ItemText(list, 4, 0), "00");
    calls->DeleteRow(1);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"9", "089", "0711", "00"}));
    EXPECT_EQ(calls->SelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_TRUE(calls->CallData(0).notInDatabase);
    EXPECT_DOUBLE_EQ(calls->CallData(0).time, 45292.5);

    calls->SetColumnWidth(1, 77);
    EXPECT_EQ(calls->ColumnWidth(1), 77);
    EXPECT_EQ(calls->ColumnWidth(3), 0);
    calls->Clear();
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(Lists, LocaleOrderIsCaseSensitiveWordSort) {
    for (const char* name : {"b", "B", "a", "co-op", "coop", "Ärger", "Zoo"}) names->AddRow(name);
    names->SetSortedColumn(0);
    std::vector<std::string> expected = {"b", "B", "a", "co-op", "coop", "Ärger", "Zoo"};
    std::stable_sort(expected.begin(), expected.end(), [](const auto& x, const auto& y) {
        return lstrcmpA(x.c_str(), y.c_str()) < 0;
    });
    EXPECT_EQ(Column(names->Handle(), 0), expected);
}

// Inside an update a sort state is sorted once at its end, in the order the sorts one after
// another give: another column's sort still counts for the ties of the last.
TEST_F(Lists, SortsInsideAnUpdateEndAsTheyWouldOneAfterAnother) {
    for (const auto& [number, name] : {std::pair{"b", "2"}, {"a", "3"}, {"b", "1"}, {"a", "1"}})
        names->AddRow(number, {name});
    names->SelectRow(1);  // a 3
    names->BeginUpdate();
    names->SetSortedColumn(1);
    names->SetSortedColumn(0);
    names->SetSortDirection(sdUp);
    names->EndUpdate();
    EXPECT_EQ(Column(names->Handle(), 0), (std::vector<std::string>{"b", "b", "a", "a"}));
    EXPECT_EQ(Column(names->Handle(), 1), (std::vector<std::string>{"1", "2", "1", "3"}));
    EXPECT_EQ(names->SelectedRows(), (std::vector<int>{3}));
}

TEST_F(Lists, InPlaceEditEndsThroughTheHandler) {
    names->AddRow("0711", {"Anna", "", ""});
    names->AddRow("089", {"Bert"});
    std::vector<std::string> seen;
    names->OnEditEnded = [&](int row, std::string typed) {
        seen.push_back(typed);
        names->SetCaption(row, typed + "!");
    };
    names->SelectRow(1);
    names->BeginEdit(1);
    HWND edit = reinterpret_cast<HWND>(SendMessageA(names->Handle(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(edit);
    EXPECT_TRUE(names->Editing());
    EXPECT_EQ(test::WindowText(edit), "089");
    SetWindowTextA(edit, "0891");
    SetFocus(calls->Handle());  // leaving the field ends the edit with its text
    wintest::PumpUntil([&] { return !names->Editing(); }, 2000);
    EXPECT_FALSE(names->Editing());
    EXPECT_EQ(seen, (std::vector<std::string>{"0891"}));
    EXPECT_EQ(ItemText(names->Handle(), 1, 0), "0891!");
    EXPECT_EQ(names->SubItem(1, 0), "Bert");
    EXPECT_EQ(names->SubItem(1, 2), "");
}

}  // namespace
}  // namespace telvor
