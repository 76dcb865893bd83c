// What the win-tier tests share: reading windows the way a user or a screen reader does,
// pumping this thread's messages with a bound, answering the program's message dialogs, and
// the folders a case works in.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace telvor::wintest {

// The whole text of a window or control (WM_GETTEXT), never cut short.
std::string Text(HWND hwnd);
std::string ClassOf(HWND hwnd);

// The first visible dialog (#32770) of `thread`; with a title, only one of that title.
HWND FindVisibleDialog(DWORD thread, const std::string& title = {});
// The child button of `dialog` with this text, or null.
HWND ButtonWithText(HWND dialog, const std::string& text);

// Whether this process shows any window at all (an error box would be one).
bool AnyVisibleWindowOfThisProcess();

// Dispatches this thread's messages as the program's loop does (through Form::PreTranslate)
// until `done` holds or `limitMs` have passed; false when the time ran out.
constexpr DWORD kPumpLimitMs = 5000;
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = kPumpLimitMs);
void PumpFor(DWORD ms);

// The answer a user gives to the next message dialog of this thread. A timer of this thread
// looks for the dialog; it runs inside the dialog's modal loop, so the call that shows the
// dialog can be made right after arming it.
struct DialogAnswer {
    std::string title;        // the dialog's title to wait for; empty: the first one shown
    std::string button;       // the button to press, by its text
    std::string seenText{};   // filled in: the dialog's message
    bool answered = false;    // filled in: the button was pressed
    std::string seenTitle{};  // filled in: the dialog's title
};
// Arms the timer for `answer`, which must live until it is answered or StopAnswering() ran.
void AnswerNextDialog(DialogAnswer& answer);
void StopAnswering();

// The folder the case may write to: TELVOR_CASE_DIR_WIN, else the temp folder.
std::string CaseDir();
// The folder of the test program, where the simulator and its tools lie.
std::string ProgramDir();

}  // namespace telvor::wintest
