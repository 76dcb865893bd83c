// Building a form: its window, its controls from the rows of their kinds, tab order, pages
// and labels sized to their text; and its end.
#include <windows.h>
// The common controls need the declarations of windows.h before them.
#include <algorithm>
#include <commctrl.h>
#include <map>
#include <tuple>

#include "ui/win/ControlKinds.h"
#include "ui/win/Form.h"
#include "ui/win/FormFont.h"
#include "ui/win/LocalizeForm.h"
#include "ui/win/WindowText.h"

namespace telvor {

namespace {

// Control IDs stay clear of IDOK/IDCANCEL, so that Enter and Esc are told apart from clicks.
constexpr int kFirstControlId = 1000;

HMENU AsMenuId(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

}  // namespace

FormResult Form::Create(const FormDef& def, HWND owner) {
    RegisterFormClasses(WindowProc);
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
    // The procedures take the window into window_ on its first message for this form.
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
        CreateWindowExA(def.exStyle, kFormWindowClass, "", style, CW_USEDEFAULT, CW_USEDEFAULT,
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
    const ControlKindInfo& kind = KindInfo(def.kind);
    const std::string name = def.name ? def.name : "";
    HWND parent = hwnd_;
    const ControlInfo* parentInfo = nullptr;
    if (def.parent) {
        parentInfo = Find(def.parent);
        if (!parentInfo) {
            error = "Control " + name + ": unknown parent " + def.parent;
            return false;
        }
        parent = parentInfo->hwnd;
    }
    if (kind.needsPageControl && (!parentInfo || parentInfo->kind != ControlKind::PageControl)) {
        error = "Control " + name + ": a page needs a page control";
        return false;
    }
    // A buddy named but not (yet) defined would leave the up-down stepping nothing.
    HWND buddy = nullptr;
    if (def.buddy) {
        const ControlInfo* buddyInfo = Find(def.buddy);
        if (!buddyInfo) {
            error = "Control " + name + ": unknown buddy " + def.buddy;
            return false;
        }
        buddy = buddyInfo->hwnd;
    }

    DWORD style = WS_CHILD;
    if (!(def.flags & kHidden)) style |= WS_VISIBLE;
    if (def.flags & kDisabled) style |= WS_DISABLED;
    if (def.tabOrder >= 0) style |= WS_TABSTOP;
    style = (style & ~kind.withoutStyle) | kind.style;
    if (kind.flagStyle) style |= kind.flagStyle(def.flags);
    const std::string text = kind.keepsCaption && def.caption ? def.caption : "";

    HWND hwnd = CreateWindowExA(kind.exStyle, kind.windowClass, text.c_str(), style, def.left,
                                def.top, def.width, def.height, parent, AsMenuId(id),
                                GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) {
        error = "Control " + name + " could not be created";
        return false;
    }
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FormFont(def.flags & kBold)), FALSE);
    MarkControlKind(hwnd, def.kind);
    if (def.helpContext) SetWindowContextHelpId(hwnd, def.helpContext);
    const bool autoSize = kind.sizesToText && (def.width == 0 || def.height == 0);
    ControlInfo info{name, def.kind, hwnd, id, autoSize, def.flags, def.tabOrder, {}};
    if (kind.afterCreate) {
        CreatedControl created{def, hwnd, parent, text, buddy, nextItemId_, info.buttons};
        error = kind.afterCreate(created);
        if (!error.empty()) return false;
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
    TEXTMETRICA metrics{};
    {
        const WindowDc dc(info.hwnd);
        const SelectedObject font(
            dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(info.hwnd, WM_GETFONT, 0, 0)));
        UINT format = DT_CALCRECT | DT_LEFT | DT_EXPANDTABS;
        if (info.flags & kNoPrefix) format |= DT_NOPREFIX;
        if (wrap) format |= DT_WORDBREAK;
        DrawTextA(dc.get(), text.empty() ? " " : text.c_str(), -1, &r, format);
        GetTextMetricsA(dc.get(), &metrics);
    }
    // Rendered text can come out a pixel or two wider than measured (hinting, kerning of the
    // last characters); half an average character of room keeps a trailing ':' visible.
    const int slack = wrap ? 0 : metrics.tmAveCharWidth / 2;
    const int width = text.empty() && !wrap ? 0 : r.right - r.left + slack;
    SetWindowPos(info.hwnd, nullptr, 0, 0, width, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetIconResource(int id) {
    const HINSTANCE module = GetModuleHandleA(nullptr);
    for (const auto& [kind, metricX, metricY] :
         {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON},
          std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        // Shared icons belong to the module; they are never destroyed.
        if (HANDLE icon =
                LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, GetSystemMetrics(metricX),
                           GetSystemMetrics(metricY), LR_SHARED))
            SendMessageA(hwnd_, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
}

Form::~Form() {
    Unlist();
    onDestroy_ = nullptr;  // this object is going; nothing may call back into it
    window_.reset();
}

}  // namespace telvor
