#include "ui/win/LocalizeForm.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace telvor {

namespace {

constexpr char kKindProp[] = "TelvorControlKind";
constexpr char kTabSheetClass[] = "TelvorTabSheet";
constexpr char kPanelClass[] = "TelvorPanel";

std::string WindowClassName(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string WindowText(HWND hwnd) {
    const int len = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(len) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), len + 1)));
    return text;
}

ControlClass FromKind(ControlKind kind) {
    switch (kind) {
        case ControlKind::PageControl:
            return ControlClass::PageControl;
        case ControlKind::TabSheet:
            return ControlClass::TabSheet;
        case ControlKind::GroupBox:
            return ControlClass::GroupBox;
        case ControlKind::RadioGroup:
            return ControlClass::RadioGroup;
        case ControlKind::Button:
            return ControlClass::PushButton;
        case ControlKind::Label:
            return ControlClass::Label;
        case ControlKind::Panel:
            return ControlClass::Panel;
        case ControlKind::CheckBox:
            return ControlClass::CheckBox;
        case ControlKind::RadioButton:
            return ControlClass::RadioButton;
        case ControlKind::Memo:
            return ControlClass::Memo;
        case ControlKind::SortListView:
            return ControlClass::SortListView;
        case ControlKind::DateSortListView:
            return ControlClass::DateSortListView;
        case ControlKind::Edit:
        case ControlKind::UpDown:
        case ControlKind::Image:
        case ControlKind::ListView:
            return ControlClass::Other;
    }
    return ControlClass::Other;
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
        return FromKind(static_cast<ControlKind>(mark - 1));
    const std::string cls = WindowClassName(hwnd);
    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    if (lstrcmpiA(cls.c_str(), WC_TABCONTROLA) == 0) return ControlClass::PageControl;
    if (cls == kTabSheetClass) return ControlClass::TabSheet;
    if (cls == kPanelClass) return ControlClass::Panel;
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
