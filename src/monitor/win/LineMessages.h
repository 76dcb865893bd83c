#pragma once
// What the user sees when the ISDN line cannot be used. The line component only reports what
// happened; the program owns the dialogs and decides to end.
#include <windows.h>

#include "capi/win/CapiLibrary.h"

namespace telvor {

// String 20026 (with the error code) in the program's error dialog, then ExitProcess(0).
CapiLoadFailure ProgramCapiLoadFailure();

// String 20027 in an error dialog owned by `owner`, then a quit request to the calling
// thread's message loop.
void ReportControllerMissing(HWND owner);

}  // namespace telvor
