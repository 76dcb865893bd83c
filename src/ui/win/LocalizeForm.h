#pragma once
// Localisation of real windows: LocalizeForm walks a form's controls by the class rules of
// ui/Localize.h; LocalizeMenu replaces the captions of a menu's top-level items.
#include <windows.h>

#include "ui/Localize.h"
#include "ui/win/FormDef.h"

namespace telvor {

// Marks a window with the control kind it was created as, so that the walk can tell a
// radio group from a group box and a sortable list view from a plain one. Unmarked
// windows are classified by their window class and style.
void MarkControlKind(HWND hwnd, ControlKind kind);
ControlClass ClassifyControl(HWND hwnd);

// The form's caption and those of its controls. On failure the walk stops and `error`
// holds the conversion error text; the caller must not use the form.
LocalizeResult LocalizeForm(HWND form);

// Top-level items only; an item whose text becomes "-" turns into a separator line.
// Separator lines already in the menu are left alone.
LocalizeResult LocalizeMenu(HMENU menu);

}  // namespace telvor
