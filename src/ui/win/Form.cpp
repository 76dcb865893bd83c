#include "ui/win/Form.h"

#include <tuple>

#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "ui/win/FormFont.h"
#include "ui/win/LocalizeForm.h"
#include "ui/win/MessageDialogs.h"

namespace telvor {

namespace {

constexpr char kFormClass[] = "TelvorForm";
constexpr char kTabSheetClass[] = "TelvorTabSheet";
constexpr char kPanelClass[] = "TelvorPanel";
// Control IDs stay clear of IDOK/IDCANCEL, so that Enter and Esc are told apart from clicks.
constexpr int kFirstControlId = 1000;
constexpr int kFirstItemId = 20000;

std::vector<Form*>& LiveForms() {
    static std::vector<Form*> forms;
    return forms;
}

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
    if (IsForwarded(msg)) return ForwardToForm(hwnd, msg, wp, lp);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (IsForwarded(msg)) return ForwardToForm(hwnd, msg, wp, lp);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

void RegisterClasses(WNDPROC formProc) {
    static const bool done = [formProc] {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                    ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&icc);
        HINSTANCE inst = GetModuleHandleA(nullptr);
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpfnWndProc = formProc;
        wc.lpszClassName = kFormClass;
        wc.style = CS_DBLCLKS;
        RegisterClassExA(&wc);
        wc.lpfnWndProc = ContainerProc;
        wc.lpszClassName = kTabSheetClass;
        RegisterClassExA(&wc);
        wc.lpszClassName = kPanelClass;
        RegisterClassExA(&wc);
        return true;
    }();
    (void)done;
}

std::string WindowText(HWND hwnd) {
    const int len = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(len) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), len + 1)));
    return text;
}

HMENU AsMenuId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

}  // namespace

// --- creation ------------------------------------------------------------------------------

FormResult Form::Create(const FormDef& def, HWND owner) {
    RegisterClasses(WindowProc);
    auto form = std::make_unique<Form>(Key{});
    std::string error;
    if (!form->Build(def, owner)) {
        error = "Form " + form->name_ + " could not be created";
        return {nullptr, error};
    }
    for (std::size_t i = 0; i < def.controls.size(); ++i) {
        if (!form->CreateControl(def.controls[i], kFirstControlId + static_cast<int>(i), error))
            return {nullptr, error};
    }
    form->OrderTabStops();
    const LocalizeResult localized = LocalizeForm(form->hwnd_);
    if (!localized.ok) return {nullptr, localized.error};  // the form is destroyed with it
    for (const ControlInfo& info : form->controls_) form->AutoSize(info);
    form->LayoutSheets();
    if (form->dialog_ && form->defaultId_)
        SendMessageA(form->hwnd_, DM_SETDEFID, static_cast<WPARAM>(form->defaultId_), 0);
    return {std::move(form), {}};
}

bool Form::Build(const FormDef& def, HWND owner) {
    name_ = def.name ? def.name : "";
    owner_ = owner;
    dialog_ = def.dialog;
    const DWORD style = def.style & ~WS_VISIBLE;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (dialog_) {
        // A template without controls (and without a font: sizes are set in pixels below);
        // the menu, class and title arrays are empty.
        struct alignas(DWORD) Template {
            DLGTEMPLATE header;
            WORD menu, windowClass, title, pad;
        } tmpl = {};
        tmpl.header.style = style;
        tmpl.header.dwExtendedStyle = def.exStyle;
        CreateDialogIndirectParamA(inst, &tmpl.header, owner, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
    } else {
        CreateWindowExA(def.exStyle, kFormClass, "", style, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, inst, this);
    }
    if (!hwnd_) return false;
    LiveForms().push_back(this);
    SetWindowTextA(hwnd_, def.caption ? def.caption : "");
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
    if (def.helpContext) SetWindowContextHelpId(hwnd_, def.helpContext);

    RECT frame = {0, 0, def.clientWidth, def.clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
    const int w = frame.right - frame.left;
    const int h = frame.bottom - frame.top;
    int x = def.left;
    int y = def.top;
    if (def.placement != FormPlacement::Designed) {
        RECT area = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        if (def.placement == FormPlacement::OwnerCenter && owner && IsWindowVisible(owner))
            GetWindowRect(owner, &area);
        x = area.left + (area.right - area.left - w) / 2;
        y = area.top + (area.bottom - area.top - h) / 2;
    }
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool Form::CreateControl(const ControlDef& def, int id, std::string& error) {
    HWND parent = hwnd_;
    const ControlInfo* parentInfo = nullptr;
    if (def.parent) {
        parentInfo = Find(def.parent);
        if (!parentInfo) {
            error = std::string("Control ") + def.name + ": unknown parent " + def.parent;
            return false;
        }
        parent = parentInfo->hwnd;
    }
    DWORD style = WS_CHILD;
    DWORD ex = 0;
    if (!(def.flags & kHidden)) style |= WS_VISIBLE;
    if (def.flags & kDisabled) style |= WS_DISABLED;
    if (def.tabOrder >= 0) style |= WS_TABSTOP;
    const char* cls = "STATIC";
    std::string text = def.caption ? def.caption : "";
    bool autoSize = false;
    switch (def.kind) {
        case ControlKind::PageControl:
            cls = WC_TABCONTROLA;
            style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
            ex |= WS_EX_CONTROLPARENT;
            break;
        case ControlKind::TabSheet:
            if (!parentInfo || parentInfo->kind != ControlKind::PageControl) {
                error = std::string("Control ") + def.name + ": a page needs a page control";
                return false;
            }
            cls = kTabSheetClass;
            style = (style & ~(WS_TABSTOP | WS_VISIBLE)) | WS_CLIPSIBLINGS;
            ex |= WS_EX_CONTROLPARENT;
            break;
        case ControlKind::GroupBox:
        case ControlKind::RadioGroup:
            cls = "BUTTON";
            style = (style & ~WS_TABSTOP) | BS_GROUPBOX;
            ex |= WS_EX_CONTROLPARENT;
            break;
        case ControlKind::Button:
            cls = "BUTTON";
            style |= (def.flags & kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
        case ControlKind::Label:
            style |= (def.flags & kWordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP;
            if (def.flags & kNoPrefix) style |= SS_NOPREFIX;
            autoSize = def.width == 0 || def.height == 0;
            break;
        case ControlKind::Panel:
            cls = kPanelClass;
            ex |= WS_EX_CONTROLPARENT;
            break;
        case ControlKind::CheckBox:
            cls = "BUTTON";
            style |= BS_AUTOCHECKBOX;
            break;
        case ControlKind::RadioButton:
            cls = "BUTTON";
            style |= BS_AUTORADIOBUTTON;
            break;
        case ControlKind::Edit:
            cls = "EDIT";
            style |= ES_AUTOHSCROLL | ((def.flags & kReadOnly) ? ES_READONLY : 0);
            ex |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Memo:
            cls = "EDIT";
            style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL |
                     ((def.flags & kReadOnly) ? ES_READONLY : 0);
            ex |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::UpDown:
            cls = UPDOWN_CLASSA;
            style |= UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
            text.clear();
            break;
        case ControlKind::Image:
            style |= SS_ICON;
            text.clear();
            break;
        case ControlKind::ListView:
        case ControlKind::SortListView:
        case ControlKind::DateSortListView:
            cls = WC_LISTVIEWA;
            style |=
                LVS_REPORT | LVS_SHOWSELALWAYS | ((def.flags & kMultiSelect) ? 0 : LVS_SINGLESEL);
            if (def.flags & kEditLabels) style |= LVS_EDITLABELS;
            // The sortable lists hold their rows themselves (TSortListView); owner data
            // cannot be switched on after creation.
            if (def.kind != ControlKind::ListView) style |= LVS_OWNERDATA;
            ex |= WS_EX_CLIENTEDGE;
            text.clear();
            break;
    }
    HWND hwnd =
        CreateWindowExA(ex, cls, text.c_str(), style, def.left, def.top, def.width, def.height,
                        parent, AsMenuId(id), GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) {
        error = std::string("Control ") + def.name + " could not be created";
        return false;
    }
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont(def.flags & kBold)), FALSE);
    MarkControlKind(hwnd, def.kind);
    if (def.helpContext) SetWindowContextHelpId(hwnd, def.helpContext);
    ControlInfo info{def.name, def.kind, hwnd, id, autoSize, def.flags, def.tabOrder, {}};

    switch (def.kind) {
        case ControlKind::TabSheet: {
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            const auto count = SendMessageA(parent, TCM_GETITEMCOUNT, 0, 0);
            SendMessageA(parent, TCM_INSERTITEMA, static_cast<WPARAM>(count),
                         reinterpret_cast<LPARAM>(&item));
            break;
        }
        case ControlKind::GroupBox:
        case ControlKind::RadioGroup:
            SetWindowSubclass(hwnd, FrameProc, 1, 0);
            break;
        case ControlKind::UpDown:
            if (const ControlInfo* buddy = def.buddy ? Find(def.buddy) : nullptr)
                SendMessageA(hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy->hwnd), 0);
            SendMessageA(hwnd, UDM_SETRANGE32, static_cast<WPARAM>(def.rangeMin),
                         static_cast<LPARAM>(def.rangeMax));
            break;
        case ControlKind::ListView:
        case ControlKind::SortListView:
        case ControlKind::DateSortListView: {
            SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                         LVS_EX_FULLROWSELECT);
            int index = 0;
            for (const ColumnDef& column : def.columns) {
                std::string caption = column.caption ? column.caption : "";
                LVCOLUMNA col = {};
                col.mask = LVCF_TEXT | LVCF_WIDTH;
                col.pszText = caption.data();
                col.cx = column.width;
                SendMessageA(hwnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index++),
                             reinterpret_cast<LPARAM>(&col));
            }
            break;
        }
        default:
            break;
    }
    if (def.kind == ControlKind::RadioGroup && !def.items.empty()) {
        // The buttons share the frame's inner height evenly, as a radio group lays them out.
        const int n = static_cast<int>(def.items.size());
        const int row = std::max(1, (def.height - 20) / n);
        for (int i = 0; i < n; ++i) {
            DWORD itemStyle = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
            if (i == 0) itemStyle |= WS_GROUP | (def.tabOrder >= 0 ? WS_TABSTOP : 0);
            const int itemId = kFirstItemId + nextItemId_++;
            HWND button =
                CreateWindowExA(0, "BUTTON", def.items[static_cast<std::size_t>(i)], itemStyle, 8,
                                16 + i * row + (row - 17) / 2, def.width - 16, 17, hwnd,
                                AsMenuId(itemId), GetModuleHandleA(nullptr), nullptr);
            if (!button) {
                error = std::string("Control ") + def.name + ": item could not be created";
                return false;
            }
            SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont()), FALSE);
            MarkControlKind(button, ControlKind::RadioButton);
            info.buttons.push_back(button);
        }
    }
    if (def.flags & kDefault) defaultId_ = id;
    if (def.flags & kCancel) cancelId_ = id;
    controls_.push_back(std::move(info));
    return true;
}

// Tab follows the sibling order of windows: the controls with a tab order take the places
// the tab-ordered controls had in creation order, sorted by their tab order, so that a
// label stays right before the control it names.
void Form::OrderTabStops() {
    std::map<HWND, std::vector<const ControlInfo*>> byParent;
    for (const ControlInfo& info : controls_) byParent[GetParent(info.hwnd)].push_back(&info);
    for (auto& [parent, siblings] : byParent) {
        std::vector<const ControlInfo*> ordered;
        for (const ControlInfo* c : siblings)
            if (c->tabOrder >= 0) ordered.push_back(c);
        std::stable_sort(
            ordered.begin(), ordered.end(),
            [](const ControlInfo* a, const ControlInfo* b) { return a->tabOrder < b->tabOrder; });
        auto next = ordered.begin();
        HWND after = HWND_TOP;
        for (const ControlInfo* c : siblings) {
            HWND hwnd = c->tabOrder >= 0 ? (*next++)->hwnd : c->hwnd;
            SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = hwnd;
        }
    }
}

void Form::LayoutSheets() {
    for (const ControlInfo& tabs : controls_) {
        if (tabs.kind != ControlKind::PageControl) continue;
        RECT rc = {};
        GetClientRect(tabs.hwnd, &rc);
        SendMessageA(tabs.hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
        for (const ControlInfo& sheet : controls_)
            if (sheet.kind == ControlKind::TabSheet && GetParent(sheet.hwnd) == tabs.hwnd)
                SetWindowPos(sheet.hwnd, nullptr, rc.left, rc.top, rc.right - rc.left,
                             rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowSelectedSheet(tabs.hwnd);
    }
}

void Form::ShowSelectedSheet(HWND pageControl) {
    auto selected = SendMessageA(pageControl, TCM_GETCURSEL, 0, 0);
    if (selected < 0) selected = 0;
    LRESULT index = 0;
    for (const ControlInfo& sheet : controls_) {
        if (sheet.kind != ControlKind::TabSheet || GetParent(sheet.hwnd) != pageControl) continue;
        ShowWindow(sheet.hwnd, index++ == selected ? SW_SHOW : SW_HIDE);
    }
}

void Form::AutoSize(const ControlInfo& info) {
    if (!info.autoSize) return;
    const std::string text = WindowText(info.hwnd);
    RECT bounds = {};
    GetWindowRect(info.hwnd, &bounds);
    const int fixedWidth = bounds.right - bounds.left;
    const bool wrap = (info.flags & kWordWrap) && fixedWidth > 0;
    RECT r = {0, 0, wrap ? fixedWidth : 0, 0};
    HDC dc = GetDC(info.hwnd);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(info.hwnd, WM_GETFONT, 0, 0)));
    UINT format = DT_CALCRECT | DT_LEFT | DT_EXPANDTABS;
    if (info.flags & kNoPrefix) format |= DT_NOPREFIX;
    if (wrap) format |= DT_WORDBREAK;
    DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, format);
    // Rendered text can come out a pixel or two wider than measured (hinting, kerning of the
    // last characters); half an average character of room keeps a trailing ':' visible.
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(info.hwnd, dc);
    const int slack = wrap ? 0 : metrics.tmAveCharWidth / 2;
    const int width = text.empty() && !wrap ? 0 : r.right - r.left + slack;
    SetWindowPos(info.hwnd, nullptr, 0, 0, width, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Form::~Form() {
    auto& live = LiveForms();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (hwnd_) {
        onDestroy_ = nullptr;
        HWND hwnd = hwnd_;
        DestroyWindow(hwnd);
        hwnd_ = nullptr;
    }
}

// --- lookup and control access -------------------------------------------------------------

const Form::ControlInfo* Form::Find(std::string_view name) const {
    for (const ControlInfo& info : controls_)
        if (info.name == name) return &info;
    return nullptr;
}

const Form::ControlInfo* Form::FindById(int id) const {
    for (const ControlInfo& info : controls_) {
        if (info.id == id) return &info;
        for (HWND button : info.buttons)
            if (GetDlgCtrlID(button) == id) return &info;  // a radio group's item
    }
    return nullptr;
}

const Form::ControlInfo* Form::FindByHwnd(HWND hwnd) const {
    for (const ControlInfo& info : controls_)
        if (info.hwnd == hwnd) return &info;
    return nullptr;
}

HWND Form::Control(std::string_view name) const {
    const ControlInfo* info = Find(name);
    return info ? info->hwnd : nullptr;
}

int Form::ControlId(std::string_view name) const {
    const ControlInfo* info = Find(name);
    return info ? info->id : 0;
}

std::string Form::Text(std::string_view name) const {
    if (name.empty()) return hwnd_ ? WindowText(hwnd_) : std::string();
    const ControlInfo* info = Find(name);
    return info ? WindowText(info->hwnd) : std::string();
}

void Form::SetText(std::string_view name, const std::string& text) {
    if (name.empty()) {
        if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
        return;
    }
    if (const ControlInfo* info = Find(name)) {
        SetWindowTextA(info->hwnd, text.c_str());
        AutoSize(*info);
    }
}

void Form::SetVisible(std::string_view name, bool visible) {
    if (const ControlInfo* info = Find(name)) ShowWindow(info->hwnd, visible ? SW_SHOW : SW_HIDE);
}

void Form::SetEnabled(std::string_view name, bool enabled) {
    if (const ControlInfo* info = Find(name)) EnableWindow(info->hwnd, enabled);
}

bool Form::Checked(std::string_view name) const {
    const ControlInfo* info = Find(name);
    return info && SendMessageA(info->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetChecked(std::string_view name, bool checked) {
    if (const ControlInfo* info = Find(name))
        SendMessageA(info->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Form::ItemIndex(std::string_view radioGroup) const {
    const ControlInfo* info = Find(radioGroup);
    if (!info) return -1;
    for (std::size_t i = 0; i < info->buttons.size(); ++i)
        if (SendMessageA(info->buttons[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
            return static_cast<int>(i);
    return -1;
}

void Form::SetItemIndex(std::string_view radioGroup, int index) {
    const ControlInfo* info = Find(radioGroup);
    if (!info) return;
    for (std::size_t i = 0; i < info->buttons.size(); ++i)
        SendMessageA(info->buttons[i], BM_SETCHECK,
                     static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::SelectPage(std::string_view pageControl, int index) {
    const ControlInfo* info = Find(pageControl);
    if (!info || info->kind != ControlKind::PageControl) return;
    SendMessageA(info->hwnd, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ShowSelectedSheet(info->hwnd);
}

int Form::PageIndex(std::string_view pageControl) const {
    const ControlInfo* info = Find(pageControl);
    return info ? static_cast<int>(SendMessageA(info->hwnd, TCM_GETCURSEL, 0, 0)) : -1;
}

// --- handlers ------------------------------------------------------------------------------

void Form::OnClick(std::string_view name, std::function<void()> handler) {
    if (const ControlInfo* info = Find(name))
        commands_[{info->id, BN_CLICKED}] = std::move(handler);
}

void Form::OnChange(std::string_view name, std::function<void()> handler) {
    if (const ControlInfo* info = Find(name)) commands_[{info->id, EN_CHANGE}] = std::move(handler);
}

void Form::OnNotify(std::string_view name, UINT code, std::function<LRESULT(NMHDR&)> handler) {
    if (const ControlInfo* info = Find(name)) notifies_[{info->id, code}] = std::move(handler);
}

void Form::OnTimer(UINT_PTR id, std::function<void()> handler) {
    timers_[id] = std::move(handler);
}
void Form::OnClose(std::function<void()> handler) {
    onClose_ = std::move(handler);
}
void Form::OnDestroy(std::function<void()> handler) {
    onDestroy_ = std::move(handler);
}

void Form::OnMessage(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler) {
    messages_[message] = std::move(handler);
}

void Form::StartTimer(UINT_PTR id, UINT milliseconds) {
    if (hwnd_) SetTimer(hwnd_, id, milliseconds, nullptr);
}

void Form::StopTimer(UINT_PTR id) {
    if (hwnd_) KillTimer(hwnd_, id);
}

void Form::Click(std::string_view name) {
    const ControlInfo* info = Find(name);
    if (!info || !IsWindowEnabled(info->hwnd)) return;
    HandleCommand(info->id, BN_CLICKED);
}

template <class F>
void Form::Guarded(F&& f) {
    // What a handler throws ends its operation with an error box, never unwinds into Win32.
    try {
        f();
    } catch (const std::exception& e) {
        ShowError(e.what(), hwnd_);
    } catch (...) {
    }
}

void Form::HandleCommand(int id, int code) {
    if (code == BN_CLICKED && (id == IDOK || id == IDCANCEL) && !FindById(id)) {
        // Enter without a focused push button, and Esc.
        const int target = id == IDOK ? defaultId_ : cancelId_;
        const ControlInfo* info = target ? FindById(target) : nullptr;
        if (info && IsWindowEnabled(info->hwnd)) HandleCommand(target, BN_CLICKED);
        return;
    }
    const ControlInfo* info = FindById(id);
    if (!info) return;
    const auto it = commands_.find({info->id, static_cast<UINT>(code)});
    if (it == commands_.end()) return;
    const auto handler = it->second;  // the handler may replace itself
    Guarded(handler);
}

void Form::RequestClose() {
    if (onClose_) {
        const auto handler = onClose_;
        Guarded(handler);
    } else if (cancelId_) {
        HandleCommand(cancelId_, BN_CLICKED);
    } else if (modal_) {
        EndModal(IDCANCEL);
    } else {
        Destroy();
    }
}

// --- showing -------------------------------------------------------------------------------

void Form::FocusFirst() {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) return;
    if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) SetFocus(first);
}

void Form::Show() {
    if (!hwnd_) return;
    ShowWindow(hwnd_, SW_SHOW);
    FocusFirst();
}

void Form::Hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void Form::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

INT_PTR Form::ShowModal() {
    if (!hwnd_ || modal_) return IDCANCEL;
    modal_ = true;
    modalDone_ = false;
    modalResult_ = IDCANCEL;
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    Show();
    SetForegroundWindow(hwnd_);
    FocusFirst();
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (!modalDone_ && hwnd_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got == -1) break;
        if (!PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // The owner is enabled before this window hides, so that it gets the activation back.
    if (disableOwner) EnableWindow(owner, TRUE);
    Hide();
    modal_ = false;
    if (quit) PostQuitMessage(static_cast<int>(quitCode));  // the outer loop must see it
    return modalResult_;
}

void Form::EndModal(INT_PTR result) {
    modalResult_ = result;
    modalDone_ = true;
    if (hwnd_) PostMessageA(hwnd_, WM_NULL, 0, 0);
}

bool Form::PreTranslate(MSG& msg) {
    if (!msg.hwnd) return false;
    const auto& live = LiveForms();
    for (auto it = live.rbegin(); it != live.rend(); ++it) {
        HWND form = (*it)->hwnd_;
        if (form && (msg.hwnd == form || IsChild(form, msg.hwnd)))
            return IsDialogMessageA(form, &msg) != FALSE;
    }
    return false;
}

// --- window procedures ---------------------------------------------------------------------

bool Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_COMMAND:
            HandleCommand(LOWORD(wp), HIWORD(wp));
            result = 0;
            return true;
        case WM_NOTIFY: {
            NMHDR& hdr = *reinterpret_cast<NMHDR*>(lp);
            bool handled = false;
            if (hdr.code == static_cast<UINT>(TCN_SELCHANGE)) {
                if (const ControlInfo* info = FindByHwnd(hdr.hwndFrom);
                    info && info->kind == ControlKind::PageControl) {
                    ShowSelectedSheet(info->hwnd);
                    handled = true;
                }
            }
            const ControlInfo* info = FindByHwnd(hdr.hwndFrom);
            const auto it = info ? notifies_.find({info->id, hdr.code}) : notifies_.end();
            result = 0;
            if (it != notifies_.end()) {
                const auto handler = it->second;
                Guarded([&] { result = handler(hdr); });
                handled = true;
            }
            return handled;
        }
        case WM_TIMER: {
            const auto it = timers_.find(wp);
            if (it == timers_.end()) return false;
            const auto handler = it->second;
            Guarded(handler);
            result = 0;
            return true;
        }
        case WM_CLOSE:
            RequestClose();
            result = 0;
            return true;
        case DM_GETDEFID:
            if (!defaultId_) return false;
            result = MAKELRESULT(defaultId_, DC_HASDEFID);
            return true;
        case WM_ACTIVATE:
            if (dialog_) break;  // the dialog manager keeps the focus of dialogs
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
            } else if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_)) {
                SetFocus(lastFocus_);
            } else {
                FocusFirst();
            }
            result = 0;
            return true;
        case WM_DESTROY:
            if (onDestroy_) {
                const auto handler = onDestroy_;
                Guarded(handler);
            }
            break;
        case WM_NCDESTROY: {
            hwnd_ = nullptr;
            modalDone_ = true;
            auto& live = LiveForms();
            live.erase(std::remove(live.begin(), live.end(), this), live.end());
            return false;
        }
        default:
            break;
    }
    const auto it = messages_.find(msg);
    if (it == messages_.end()) return false;
    const auto handler = it->second;
    result = 0;
    Guarded([&] { result = handler(wp, lp); });
    return true;
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Form* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    } else {
        self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    LRESULT result = 0;
    if (self && self->HandleMessage(msg, wp, lp, result)) return result;
    if (msg == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

INT_PTR CALLBACK Form::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Form*>(lp);
        SetWindowLongPtrA(hwnd, DWLP_USER, lp);
        self->hwnd_ = hwnd;
        return FALSE;  // the controls do not exist yet; Show sets the focus
    }
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;
    LRESULT result = 0;
    const bool handled = self->HandleMessage(msg, wp, lp, result);
    if (msg == WM_NCDESTROY) SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    if (!handled) return FALSE;
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace telvor

namespace telvor {

void Form::SetIconResource(int id) {
    const HINSTANCE module = GetModuleHandleA(nullptr);
    for (const auto& [kind, metricX, metricY] :
         {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON}, std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        // Shared icons belong to the module; they are never destroyed by hand.
        if (HANDLE icon = LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                     GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_SHARED))
            SendMessageA(hwnd_, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
}

}  // namespace telvor
