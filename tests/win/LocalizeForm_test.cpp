// Localisation of real windows: a form with every control class, the conversion error that
// stops a form's creation, and menus.
#include "ui/win/LocalizeForm.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "support/WinTestSupport.h"
#include "ui/win/Form.h"

namespace telvor {
namespace {

std::string ColumnText(HWND list, int index) {
    char buffer[256] = {};
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = buffer;
    col.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
    return buffer;
}

std::string TabText(HWND tabs, int index) {
    char buffer[256] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

using test::WindowText;

std::size_t CountThreadWindows() {
    return test::TopLevelWindows({.thread = GetCurrentThreadId()}).size();
}

FormDef EveryClass(bool dialog) {
    FormDef def{"Every", "1"};
    def.clientWidth = 500;
    def.clientHeight = 400;
    def.dialog = dialog;
    def.controls = {
        {.kind = ControlKind::PageControl,
         .name = "Pages",
         .left = 4,
         .top = 4,
         .width = 300,
         .height = 200,
         .caption = "not touched",
         .tabOrder = 0},
        {.kind = ControlKind::TabSheet, .name = "CallsTab", .caption = "5", .parent = "Pages"},
        {.kind = ControlKind::DateSortListView,
         .name = "CallsLV",
         .left = 4,
         .top = 4,
         .width = 250,
         .height = 120,
         .tabOrder = 0,
         .parent = "CallsTab",
         .columns = {{"12", 100}, {"13", 60}, {"14", 80}}},
        {.kind = ControlKind::TabSheet, .name = "NameTab", .caption = "6", .parent = "Pages"},
        {.kind = ControlKind::SortListView,
         .name = "ListViewL",
         .left = 4,
         .top = 4,
         .width = 250,
         .height = 120,
         .tabOrder = 0,
         .parent = "NameTab",
         .columns = {{"16", 80}, {"17", 80}, {"18", 80}, {"69", 40}}},
        {.kind = ControlKind::ListView,
         .name = "Plain",
         .left = 310,
         .top = 4,
         .width = 150,
         .height = 60,
         .tabOrder = 1,
         .columns = {{"12", 70}, {"kein", 70}}},
        {.kind = ControlKind::GroupBox,
         .name = "Frame",
         .left = 310,
         .top = 70,
         .width = 180,
         .height = 80,
         .caption = "29"},
        {.kind = ControlKind::CheckBox,
         .name = "Audio1CB",
         .left = 8,
         .top = 16,
         .width = 165,
         .height = 17,
         .caption = "32",
         .tabOrder = 0,
         .parent = "Frame"},
        {.kind = ControlKind::CheckBox,
         .name = "Audio2CB",
         .left = 8,
         .top = 40,
         .width = 165,
         .height = 17,
         .caption = "32",
         .tabOrder = 1,
         .parent = "Frame"},
        {.kind = ControlKind::RadioGroup,
         .name = "DMWhenRG",
         .left = 4,
         .top = 210,
         .width = 300,
         .height = 100,
         .caption = "60",
         .tabOrder = 2,
         .items = {"61", "62", "63", "64"}},
        {.kind = ControlKind::Panel,
         .name = "Panel",
         .left = 310,
         .top = 160,
         .width = 180,
         .height = 60,
         .caption = "50"},
        {.kind = ControlKind::RadioButton,
         .name = "CloseTimeRB",
         .left = 4,
         .top = 4,
         .width = 170,
         .height = 17,
         .caption = "40",
         .tabOrder = 0,
         .parent = "Panel"},
        {.kind = ControlKind::Edit,
         .name = "CloseTimeE",
         .left = 4,
         .top = 30,
         .width = 60,
         .height = 21,
         .caption = "60",
         .tabOrder = 1,
         .parent = "Panel"},
        {.kind = ControlKind::UpDown,
         .name = "CloseTimeU",
         .left = 64,
         .top = 30,
         .width = 15,
         .height = 21,
         .parent = "Panel",
         .buddy = "CloseTimeE",
         .rangeMin = 1,
         .rangeMax = 999},
        {.kind = ControlKind::Button,
         .name = "AbweisenB",
         .left = 310,
         .top = 230,
         .width = 75,
         .height = 25,
         .caption = "3011",
         .tabOrder = 3},
        {.kind = ControlKind::Label, .name = "Label2", .left = 310, .top = 270, .caption = "3004"},
        {.kind = ControlKind::Label,
         .name = "NameL",
         .left = 310,
         .top = 290,
         .width = 185,
         .height = 30,
         .caption = "3010",
         .flags = kBold},
        {.kind = ControlKind::Memo,
         .name = "Memo",
         .left = 4,
         .top = 320,
         .width = 300,
         .height = 60,
         .caption = "3004\r\nfreier Text\r\n20017",
         .tabOrder = 4},
        {.kind = ControlKind::Image,
         .name = "Image1",
         .left = 460,
         .top = 360,
         .width = 32,
         .height = 32},
    };
    return def;
}

void ExpectEveryClassLocalized(Form& form) {
    EXPECT_EQ(form.Text(""), "Telvor einrichten");
    EXPECT_EQ(WindowText(form.Control("Pages")), "not touched");
    EXPECT_EQ(WindowText(form.Control("CallsTab")), "Anrufe");
    EXPECT_EQ(WindowText(form.Control("NameTab")), "Namensdatenbank");
    EXPECT_EQ(TabText(form.Control("Pages"), 0), "Anrufe");
    EXPECT_EQ(TabText(form.Control("Pages"), 1), "Namensdatenbank");
    EXPECT_EQ(ColumnText(form.Control("CallsLV"), 2), "Datum/Uhrzeit");
    EXPECT_EQ(ColumnText(form.Control("ListViewL"), 0), "Telefonnummer");
    EXPECT_EQ(ColumnText(form.Control("ListViewL"), 3), "dmail");
    EXPECT_EQ(ColumnText(form.Control("Plain"), 0), "12");
    EXPECT_EQ(ColumnText(form.Control("Plain"), 1), "kein");
    EXPECT_EQ(form.Text("Frame"), "Nur bei ausgewählten Diensten anzeigen");
    EXPECT_EQ(form.Text("Audio1CB"), "&Telefongespräch oder Analog");
    EXPECT_EQ(form.Text("Audio2CB"), "&Telefongespräch oder Analog");
    EXPECT_EQ(form.Text("DMWhenRG"), "&Verschicke Nachrichten bei...");
    std::vector<std::string> items;
    for (HWND b = GetWindow(form.Control("DMWhenRG"), GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT))
        items.push_back(WindowText(b));
    EXPECT_EQ(items, (std::vector<std::string>{"...allen Anrufen",
                                               "...allen Anrufen mit übermittelter Nummer",
                                               "...bestimmten Anrufern/MSNs", "nie"}));
    EXPECT_EQ(form.Text("Panel"), "");
    EXPECT_EQ(form.Text("CloseTimeRB"), "Fenster &schließen nach");
    EXPECT_EQ(form.Text("CloseTimeE"), "60");  // edit fields keep their text
    EXPECT_EQ(form.Text("AbweisenB"), "&Abweisen");
    EXPECT_EQ(form.Text("Label2"), "Anrufer:");
    EXPECT_EQ(form.Text("NameL"), "");
    EXPECT_EQ(form.Text("Memo"), "Anrufer:\r\nfreier Text\r\nNeue MSN");
}

TEST(LocalizeForm, WindowWithEveryControlClass) {
    FormResult created = Form::Create(EveryClass(false));
    ASSERT_TRUE(created.form) << created.error;
    ExpectEveryClassLocalized(*created.form);

    // An automatically sized label fits its text; a fixed one keeps its size.
    RECT label = {}, name = {};
    GetWindowRect(created.form->Control("Label2"), &label);
    GetWindowRect(created.form->Control("NameL"), &name);
    EXPECT_GT(label.right - label.left, 20);
    EXPECT_EQ(name.right - name.left, 185);
    EXPECT_EQ(name.bottom - name.top, 30);
    // Radio group: only the index is read.
    EXPECT_EQ(created.form->ItemIndex("DMWhenRG"), -1);
    created.form->SetItemIndex("DMWhenRG", 3);
    EXPECT_EQ(created.form->ItemIndex("DMWhenRG"), 3);
}

TEST(LocalizeForm, DialogWindowWithEveryControlClass) {
    FormResult created = Form::Create(EveryClass(true));
    ASSERT_TRUE(created.form) << created.error;
    char cls[32] = {};
    GetClassNameA(created.form->Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "#32770");
    ExpectEveryClassLocalized(*created.form);
    // Only the selected page is shown; switching pages swaps them.
    EXPECT_TRUE(GetWindowLongPtrA(created.form->Control("CallsTab"), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongPtrA(created.form->Control("NameTab"), GWL_STYLE) & WS_VISIBLE);
    created.form->SelectPage("Pages", 1);
    EXPECT_EQ(created.form->PageIndex("Pages"), 1);
    EXPECT_FALSE(GetWindowLongPtrA(created.form->Control("CallsTab"), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongPtrA(created.form->Control("NameTab"), GWL_STYLE) & WS_VISIBLE);
}

TEST(LocalizeForm, NonIntegerCaptionStopsCreation) {
    const std::size_t before = CountThreadWindows();
    FormDef def = wintest::BlankForm("Bad", "3001", 200, 100);
    def.controls = {
        {.kind = ControlKind::Label, .name = "Label2", .left = 8, .top = 8, .caption = "3004"},
        {.kind = ControlKind::Label,
         .name = "Label4",
         .left = 8,
         .top = 40,
         .caption = "Telefonnummer:"},
    };
    FormResult created = Form::Create(def);
    EXPECT_FALSE(created.form);
    EXPECT_EQ(created.error, "'Telefonnummer:' ist kein gültiger Integerwert");
    EXPECT_EQ(CountThreadWindows(), before);  // nothing of the form is left behind

    def.controls = {{.kind = ControlKind::SortListView,
                     .name = "MSNLV",
                     .width = 100,
                     .height = 50,
                     .columns = {{"22", 50}, {"MSN", 50}}}};
    created = Form::Create(def);
    EXPECT_FALSE(created.form);
    EXPECT_EQ(created.error, "'MSN' ist kein gültiger Integerwert");

    def.caption = "";
    def.controls = {};
    created = Form::Create(def);
    EXPECT_FALSE(created.form);
    EXPECT_EQ(created.error, "'' ist kein gültiger Integerwert");
}

TEST(LocalizeForm, MenuTopLevelItemsAndSeparators) {
    const UniqueMenu owner(CreatePopupMenu());
    HMENU menu = owner.get();
    HMENU sub = CreatePopupMenu();  // destroyed with the menu it is appended to
    AppendMenuA(sub, MF_STRING, 1, "10002");
    AppendMenuA(menu, MF_STRING, 10309, "10309");
    AppendMenuA(menu, MF_STRING, 10302, "10302");
    AppendMenuA(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "10301");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, 10306, "10306");
    ASSERT_TRUE(LocalizeMenu(menu).ok);

    char text[256] = {};
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Ö&ffnen");
    EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    GetMenuStringA(menu, 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Anruferfenster in &Vordergrund");
    EXPECT_EQ(GetSubMenu(menu, 2), sub);
    GetMenuStringA(sub, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "10002");  // sub-items are not visited
    EXPECT_EQ(GetMenuState(menu, 3, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    GetMenuStringA(menu, 4, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Beenden");
    EXPECT_EQ(GetMenuItemID(menu, 4), 10306u);

    const UniqueMenu badMenu(CreatePopupMenu());
    HMENU bad = badMenu.get();
    AppendMenuA(bad, MF_STRING, 1, "10001");
    AppendMenuA(bad, MF_STRING, 2, "&Löschen");
    const LocalizeResult r = LocalizeMenu(bad);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, "'&Löschen' ist kein gültiger Integerwert");
}

}  // namespace
}  // namespace telvor
