#include "ui/win/ControlKinds.h"

#include <algorithm>
#include <commctrl.h>
#include <cstddef>
#include <iterator>

#include "base/win/CallbackGuard.h"
#include "ui/win/FormFont.h"
#include "ui/win/LocalizeForm.h"

namespace telvor {

namespace {

// Radio group items are numbered apart from the controls of the table.
constexpr int kFirstItemId = 20000;

bool IsForwarded(UINT msg) {
    return msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_DRAWITEM || msg == WM_MEASUREITEM ||
           msg == WM_HSCROLL || msg == WM_VSCROLL;
}

// Containers (pages, panels, frames) pass their children's notifications on to the form,
// where the handlers are.
LRESULT ForwardToForm(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    HWND root = GetAncestor(hwnd, GA_ROOT);
    return root && root != hwnd ? SendMessageA(root, msg, wp, lp) : 0;
}

LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return Guarded("container window procedure", LRESULT{0}, [&] {
        if (IsForwarded(msg)) return ForwardToForm(hwnd, msg, wp, lp);
        return DefWindowProcA(hwnd, msg, wp, lp);
    });
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    return Guarded("frame subclass procedure", LRESULT{0}, [&] {
        if (IsForwarded(msg)) return ForwardToForm(hwnd, msg, wp, lp);
        return DefSubclassProc(hwnd, msg, wp, lp);
    });
}

HMENU AsMenuId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// --- styles that follow the flags ----------------------------------------------------------

DWORD ButtonStyle(unsigned flags) {
    return (flags & kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

DWORD LabelStyle(unsigned flags) {
    return ((flags & kWordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP) |
           ((flags & kNoPrefix) ? SS_NOPREFIX : 0);
}

DWORD EditStyle(unsigned flags) {
    return (flags & kReadOnly) ? ES_READONLY : 0;
}

DWORD ListViewStyle(unsigned flags) {
    return ((flags & kMultiSelect) ? 0 : LVS_SINGLESEL) |
           ((flags & kEditLabels) ? LVS_EDITLABELS : 0);
}

// --- after-create steps --------------------------------------------------------------------

// A page's caption is the text of its tab.
std::string AddTab(CreatedControl& c) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = c.caption.data();
    const auto count = SendMessageA(c.parent, TCM_GETITEMCOUNT, 0, 0);
    SendMessageA(c.parent, TCM_INSERTITEMA, static_cast<WPARAM>(count),
                 reinterpret_cast<LPARAM>(&item));
    return {};
}

std::string ForwardFromFrame(CreatedControl& c) {
    SetWindowSubclass(c.hwnd, FrameProc, 1, 0);
    return {};
}

// The buttons share the frame's inner height evenly, as a radio group lays them out.
std::string AddRadioItems(CreatedControl& c) {
    ForwardFromFrame(c);
    const ControlDef& def = c.def;
    if (def.items.empty()) return {};
    const int n = static_cast<int>(def.items.size());
    const int row = std::max(1, (def.height - 20) / n);
    for (int i = 0; i < n; ++i) {
        DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
        if (i == 0) style |= WS_GROUP | (def.tabOrder >= 0 ? WS_TABSTOP : 0);
        const int id = kFirstItemId + c.nextItemId++;
        HWND button = CreateWindowExA(0, "BUTTON", def.items[static_cast<std::size_t>(i)], style, 8,
                                      16 + i * row + (row - 17) / 2, def.width - 16, 17, c.hwnd,
                                      AsMenuId(id), GetModuleHandleA(nullptr), nullptr);
        if (!button) return std::string("Control ") + def.name + ": item could not be created";
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
        MarkControlKind(button, ControlKind::RadioButton);
        c.items.push_back(button);
    }
    return {};
}

std::string BindBuddy(CreatedControl& c) {
    if (c.buddy) SendMessageA(c.hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(c.buddy), 0);
    SendMessageA(c.hwnd, UDM_SETRANGE32, static_cast<WPARAM>(c.def.rangeMin),
                 static_cast<LPARAM>(c.def.rangeMax));
    return {};
}

std::string AddColumns(CreatedControl& c) {
    SendMessageA(c.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const ColumnDef& column : c.def.columns) {
        std::string caption = column.caption ? column.caption : "";
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = caption.data();
        col.cx = column.width;
        SendMessageA(c.hwnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index++),
                     reinterpret_cast<LPARAM>(&col));
    }
    return {};
}

// --- the table -----------------------------------------------------------------------------

using K = ControlKind;
using L = ControlClass;
constexpr DWORD kListView = LVS_REPORT | LVS_SHOWSELALWAYS;
// The sortable lists hold their rows themselves (TSortListView); owner data cannot be switched
// on after creation.
constexpr DWORD kSortListView = kListView | LVS_OWNERDATA;
constexpr DWORD kMemo = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
constexpr DWORD kUpDown = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;

// clang-format off
// kind, class, style, ex style, without style, keeps caption, sizes to text, needs page control,
// localised as, flag styles, after create
constexpr ControlKindInfo kKinds[] = {
    {K::PageControl, WC_TABCONTROLA, WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, 0,
     true, false, false, L::PageControl, nullptr, nullptr},
    {K::TabSheet, kTabSheetWindowClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
     WS_TABSTOP | WS_VISIBLE, true, false, true, L::TabSheet, nullptr, AddTab},
    {K::GroupBox, "BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT, WS_TABSTOP,
     true, false, false, L::GroupBox, nullptr, ForwardFromFrame},
    {K::RadioGroup, "BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT, WS_TABSTOP,
     true, false, false, L::RadioGroup, nullptr, AddRadioItems},
    {K::Button, "BUTTON", 0, 0, 0,
     true, false, false, L::PushButton, ButtonStyle, nullptr},
    {K::Label, "STATIC", 0, 0, 0,
     true, true, false, L::Label, LabelStyle, nullptr},
    {K::Panel, kPanelWindowClass, 0, WS_EX_CONTROLPARENT, 0,
     true, false, false, L::Panel, nullptr, nullptr},
    {K::CheckBox, "BUTTON", BS_AUTOCHECKBOX, 0, 0,
     true, false, false, L::CheckBox, nullptr, nullptr},
    {K::RadioButton, "BUTTON", BS_AUTORADIOBUTTON, 0, 0,
     true, false, false, L::RadioButton, nullptr, nullptr},
    {K::Edit, "EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 0,
     true, false, false, L::Other, EditStyle, nullptr},
    {K::Memo, "EDIT", kMemo, WS_EX_CLIENTEDGE, 0,
     true, false, false, L::Memo, EditStyle, nullptr},
    {K::UpDown, UPDOWN_CLASSA, kUpDown, 0, 0,
     false, false, false, L::Other, nullptr, BindBuddy},
    {K::Image, "STATIC", SS_ICON, 0, 0,
     false, false, false, L::Other, nullptr, nullptr},
    {K::ListView, WC_LISTVIEWA, kListView, WS_EX_CLIENTEDGE, 0,
     false, false, false, L::Other, ListViewStyle, AddColumns},
    {K::SortListView, WC_LISTVIEWA, kSortListView, WS_EX_CLIENTEDGE, 0,
     false, false, false, L::SortListView, ListViewStyle, AddColumns},
    {K::DateSortListView, WC_LISTVIEWA, kSortListView, WS_EX_CLIENTEDGE, 0,
     false, false, false, L::DateSortListView, ListViewStyle, AddColumns},
};
// clang-format on

// Every kind has its row, at the place of its value.
constexpr bool RowsInOrder() {
    for (std::size_t i = 0; i < std::size(kKinds); ++i)
        if (static_cast<std::size_t>(kKinds[i].kind) != i) return false;
    return std::size(kKinds) == static_cast<std::size_t>(ControlKind::DateSortListView) + 1;
}
static_assert(RowsInOrder(), "one row per control kind, in the order of ControlKind");

}  // namespace

const ControlKindInfo& KindInfo(ControlKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    return index < std::size(kKinds) ? kKinds[index] : kKinds[static_cast<std::size_t>(K::Panel)];
}

void RegisterFormClasses(WNDPROC formProc) {
    static const bool done = [formProc] {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                    ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&icc);
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpfnWndProc = formProc;
        wc.lpszClassName = kFormWindowClass;
        wc.style = CS_DBLCLKS;
        RegisterClassExA(&wc);
        wc.lpfnWndProc = ContainerProc;
        wc.lpszClassName = kTabSheetWindowClass;
        RegisterClassExA(&wc);
        wc.lpszClassName = kPanelWindowClass;
        RegisterClassExA(&wc);
        return true;
    }();
    (void)done;
}

}  // namespace telvor
