#pragma once
// The help topics in the user's default browser: the page of a help context, found beside the
// program, opened through the shell.
#include <windows.h>

namespace telvor {

// Opens the page of `context` (the overview when it has none). Failures are silent.
void ShowHelpTopic(HWND owner, DWORD context);

// A form's WM_HELP: F1 on the focused control, or the title bar's help button and a click on a
// control. A control without a context of its own stands under its nearest parent's topic.
void ShowHelpFor(HWND owner, const HELPINFO& info);

}  // namespace telvor
