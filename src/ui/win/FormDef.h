#pragma once
// Declarative description of a form: the window and a table of its controls. Captions are
// decimal string-table IDs as text; they are replaced by LocalizeForm when the form is
// created. Positions and sizes are in pixels, relative to the client area of the parent.
#include <windows.h>

#include <string_view>
#include <vector>

namespace telvor {

enum class ControlKind {
    PageControl,  // SysTabControl32; its pages are the TabSheet controls naming it parent
    TabSheet,     // a page of a page control; its own position is ignored
    GroupBox,     // a frame; may hold controls
    RadioGroup,   // a frame holding one radio button per item
    Button,       // push button
    Label,        // STATIC text; width 0 sizes it to its text
    Panel,        // a plain container
    CheckBox,
    RadioButton,
    Edit,              // single-line EDIT; the caption is its initial text, never localised
    Memo,              // multi-line EDIT; lines that are IDs are localised
    UpDown,            // msctls_updown32 bound to the control named in `buddy`
    Image,             // STATIC holding an icon
    ListView,          // report-style SysListView32, columns left alone
    SortListView,      // owner-data report view driven by TSortListView; captions localised
    DateSortListView,  // the same, driven by TDateSortListView (the call list)
};

enum ControlFlags : unsigned {
    kBold = 1u << 0,
    kHidden = 1u << 1,
    kDefault = 1u << 2,  // Enter presses it
    kCancel = 1u << 3,   // Esc and the close box press it
    kDisabled = 1u << 4,
    kNoPrefix = 1u << 5,  // '&' shows as itself (labels showing data)
    kReadOnly = 1u << 6,  // edit fields and memos
    kWordWrap = 1u << 7,  // labels: wrap within the given width
    kMultiSelect = 1u << 8,
    kEditLabels = 1u << 9,  // list views: the caption can be edited in place
};

struct ColumnDef {
    const char* caption;  // string-table ID as text for the sortable kinds
    int width;
};

struct ControlDef {
    ControlKind kind;
    const char* name;
    int left = 0;
    int top = 0;
    int width = 0;   // 0 with a label: as wide as its text
    int height = 0;  // 0 with a label: as high as its text
    const char* caption = "";
    DWORD helpContext = 0;
    int tabOrder = -1;  // position among its siblings for Tab; -1 means no tab stop
    unsigned flags = 0;
    const char* parent = nullptr;         // name of the containing control; nullptr for the form
    std::vector<ColumnDef> columns = {};  // list views
    std::vector<const char*> items = {};  // radio groups: captions of the buttons
    const char* buddy = nullptr;          // up-down: the edit field it steps
    int rangeMin = 0;                     // up-down range
    int rangeMax = 100;
};

enum class FormPlacement { Designed, ScreenCenter, OwnerCenter };

struct FormDef {
    const char* name;
    const char* caption;  // string-table ID as text
    int left = 0;
    int top = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    bool dialog = true;  // a real dialog window (#32770); otherwise a window of its own class
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    DWORD exStyle = 0;
    FormPlacement placement = FormPlacement::Designed;
    DWORD helpContext = 0;
    std::vector<ControlDef> controls = {};
};

}  // namespace telvor
