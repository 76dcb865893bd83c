#pragma once
// The forms' font: "MS Sans Serif" 8 pt, or the default GUI font where that face is missing.
#include <windows.h>

namespace telvor {

HFONT FormFont(bool bold = false);

}  // namespace telvor
