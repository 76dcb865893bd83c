#include "ui/win/LocalizeForm.h"

#include <commctrl.h>
#include <string>
#include <vector>

#include "ui/win/ControlKinds.h"
#include "ui/win/WindowText.h"

namespace telvor {

namespace {

constexpr char kKindProp[] = "TelvorControlKind";

std::string WindowClassName(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// A window as seen by the portable walk.
class WindowTarget : public LocalizeTarget {
  public:
    WindowTarget(HWND hwnd, ControlClass cls) : hwnd_(hwnd), cls_(cls) {}

    ControlClass Class() const override { return cls_; }
    std::string Caption() const override { return WindowText(hwnd_); }

    void SetCaption(const std::string& text) override {
        SetWindowTextA(hwnd_, text.c_str());
        if (cls_ == ControlClass::TabSheet) UpdateTabItem(text);
    }

    int ColumnCount() const override {
        HWND header = reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETHEADER, 0, 0));
        return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    }
    std::string ColumnCaption(int index) const override {
        char buffer[1024] = {};
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT;
        col.pszText = buffer;
        col.cchTextMax = sizeof buffer;
        SendMessageA(hwnd_, LVM_GETCOLUMNA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&col));
        return buffer;
    }
    void SetColumnCaption(int index, const std::string& text) override {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT;
        col.pszText = const_cast<char*>(text.c_str());
        SendMessageA(hwnd_, LVM_SETCOLUMNA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&col));
    }

    bool VisitChildren(const std::function<bool(LocalizeTarget&)>& visit) override {
        for (HWND child = GetWindow(hwnd_, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            WindowTarget target(child, ClassifyControl(child));
            if (!visit(target)) return false;
        }
        return true;
    }

  private:
    // The page's caption is what its tab shows.
    void UpdateTabItem(const std::string& text) {
        HWND tabs = GetParent(hwnd_);
        if (!tabs || WindowClassName(tabs) != WC_TABCONTROLA) return;
        int index = 0;
        for (HWND sibling = GetWindow(tabs, GW_CHILD); sibling && sibling != hwnd_;
             sibling = GetWindow(sibling, GW_HWNDNEXT))
            if (ClassifyControl(sibling) == ControlClass::TabSheet) ++index;
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(text.c_str());
        SendMessageA(tabs, TCM_SETITEMA, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
    }

    HWND hwnd_;
    ControlClass cls_;
};

}  // namespace

void MarkControlKind(HWND hwnd, ControlKind kind) {
    // Stored off by one so that a missing property (0) stays distinguishable.
    SetPropA(hwnd, kKindProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kind) + 1));
}

ControlClass ClassifyControl(HWND hwnd) {
    if (const auto mark = reinterpret_cast<INT_PTR>(GetPropA(hwnd, kKindProp)); mark > 0)
        return KindInfo(static_cast<ControlKind>(mark - 1)).localizeAs;
    const std::string cls = WindowClassName(hwnd);
    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    if (lstrcmpiA(cls.c_str(), WC_TABCONTROLA) == 0) return ControlClass::PageControl;
    if (cls == kTabSheetWindowClass) return ControlClass::TabSheet;
    if (cls == kPanelWindowClass) return ControlClass::Panel;
    if (lstrcmpiA(cls.c_str(), "Button") == 0) {
        switch (style & BS_TYPEMASK) {
            case BS_GROUPBOX:
                return ControlClass::GroupBox;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
                return ControlClass::CheckBox;
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
                return ControlClass::RadioButton;
            default:
                return ControlClass::PushButton;
        }
    }
    if (lstrcmpiA(cls.c_str(), "Static") == 0) {
        switch (style & SS_TYPEMASK) {
            case SS_ICON:
            case SS_BITMAP:
            case SS_ENHMETAFILE:
                return ControlClass::Other;
            default:
                return ControlClass::Label;
        }
    }
    if (lstrcmpiA(cls.c_str(), "Edit") == 0)
        return (style & ES_MULTILINE) ? ControlClass::Memo : ControlClass::Other;
    return ControlClass::Other;
}

LocalizeResult LocalizeForm(HWND form) {
    WindowTarget root(form, ControlClass::Form);
    return LocalizeTree(root);
}

LocalizeResult LocalizeMenu(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char buffer[1024] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_TYPE;
        info.dwTypeData = buffer;
        info.cch = sizeof buffer;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.fType & MFT_SEPARATOR) continue;
        std::vector<std::string> caption = {buffer};
        LocalizeResult r = LocalizeMenuCaptions(caption);
        if (!r.ok) return r;
        MENUITEMINFOA change = {};
        change.cbSize = sizeof change;
        change.fMask = MIIM_TYPE;
        if (caption[0] == "-") {
            change.fType = (info.fType & ~MFT_STRING) | MFT_SEPARATOR;
        } else {
            change.fType = info.fType;
            change.dwTypeData = caption[0].data();
            change.cch = static_cast<UINT>(caption[0].size());
        }
        SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &change);
    }
    return {};
}

}  // namespace telvor
