#pragma once
// What each control kind of a FormDef is made of: its window class, the styles it is created
// with, how localisation treats it and what has to happen once its window exists. One row per
// kind, so that building a form runs the same steps for every control.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/Localize.h"
#include "ui/win/FormDef.h"

namespace telvor {

// The window classes of the framework's own windows.
inline constexpr char kFormWindowClass[] = "TelvorForm";
inline constexpr char kTabSheetWindowClass[] = "TelvorTabSheet";
inline constexpr char kPanelWindowClass[] = "TelvorPanel";

// A control whose window has just been created, as its kind's after-create step sees it.
struct CreatedControl {
    const ControlDef& def;
    HWND hwnd;
    HWND parent;
    std::string caption;       // the text it was created with (a page shows it on its tab)
    HWND buddy;                // an up-down's edit field; null for the other kinds
    int& nextItemId;           // counts the windows a control makes for itself, form-wide
    std::vector<HWND>& items;  // a radio group's buttons, filled in by its step
};

struct ControlKindInfo {
    ControlKind kind;
    const char* windowClass;
    DWORD style;  // on top of WS_CHILD and the styles every control takes from its flags
    DWORD exStyle;
    DWORD withoutStyle;     // common styles this kind never has (a frame is no tab stop)
    bool keepsCaption;      // false: created without text, the caption means nothing to it
    bool sizesToText;       // a width or height of 0 sizes it to its text
    bool needsPageControl;  // only a page control may hold it
    ControlClass localizeAs;
    DWORD (*flagStyle)(unsigned flags);  // styles that follow the flags; may be null
    // Runs once the window exists; returns an error text, empty when all went well. May be null.
    std::string (*afterCreate)(CreatedControl& control);
};

const ControlKindInfo& KindInfo(ControlKind kind);

// Registers the form window class (with the forms' own procedure) and the container classes,
// once per process, and loads the common controls the kinds use.
void RegisterFormClasses(WNDPROC formProc);

}  // namespace telvor
