// What the win-tier tests share beyond the window probe of both tiers: forms to test with,
// pumping this thread's messages with a bound, answering the program's message dialogs, and
// the folders a case works in.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/CaseFolder.h"
#include "support/WindowProbe.h"
#include "ui/win/FormDef.h"

namespace telvor::wintest {

// A form without controls, of this client size; the cases add the controls they need.
FormDef BlankForm(const char* name, const char* caption, int clientWidth, int clientHeight,
                  bool dialog = true);

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
    int listId = 0;           // a combo box to read, by id (a file dialog's types: 0x470)
    std::vector<std::string> seenList{};  // filled in: that combo box's items
    // What the user does while the dialog is up, before pressing the button.
    std::function<void(HWND dialog)> beforeAnswer{};
};
// Arms the timer for `answer`, which must live until it is answered or StopAnswering() ran.
void AnswerNextDialog(DialogAnswer& answer);
void StopAnswering();

// The case's folder, and the folder of the test program where the simulator and its tools lie.
using test::BinDir;
using test::CaseDir;

}  // namespace telvor::wintest
