#pragma once
// The program's own message dialogs: real dialog windows (#32770) whose title and buttons are
// the German texts of the string table whatever the Windows language.
//   warning "Warnung" (61560), error "Fehler" (61561), information "Information" (61562):
//     one button "OK" (61566);
//   confirmation "Bestätigen" (61563): "&Ja" (61564) and "&Nein" (61565); Esc answers "&Nein".
#include <windows.h>

#include <string>
#include <type_traits>

#include "base/win/CallbackGuard.h"

namespace telvor {

enum class MessageKind { Warning, Error, Information, Confirmation };

// Modal; returns true when a confirmation was answered "&Ja" (false for the other kinds).
bool ShowMessageDialog(MessageKind kind, const std::string& text, HWND owner = nullptr);

inline void ShowError(const std::string& text, HWND owner = nullptr) {
    ShowMessageDialog(MessageKind::Error, text, owner);
}
inline bool Confirm(const std::string& text, HWND owner = nullptr) {
    return ShowMessageDialog(MessageKind::Confirmation, text, owner);
}

// The program's callback error reporter (SetCallbackErrorReporter): what a handler or any
// other callback throws ends its operation with an error box showing the error's text, owned
// by the active window. Exceptions that are no std::exception get the box too ("unknown
// error") where they used to pass without a word, so no failed operation goes unnoticed.
void ShowCallbackError(const std::string& text) noexcept;
static_assert(std::is_same_v<decltype(&ShowCallbackError), CallbackErrorReporter>);

}  // namespace telvor
