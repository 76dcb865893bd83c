#pragma once
// The one boundary between C++ and Win32 callbacks (window, dialog and hook procedures, DDE
// callbacks, thread procedures, the wait thread's hand-over). Win32 cannot unwind C++
// frames, so no exception may cross it. What the guard catches ends the current operation
// and is reported in one way everywhere: through the reporter the program installs (the
// monitor shows the error box with the error's text, as for any failed operation), or, while
// none is installed, as a debugger message. The callback then returns its fallback result.
#include <exception>
#include <string>

namespace telvor {

using CallbackErrorReporter = void (*)(const std::string& text) noexcept;

// Installs the reporter; nullptr restores the debugger message. Returns the previous one.
CallbackErrorReporter SetCallbackErrorReporter(CallbackErrorReporter reporter) noexcept;

// Reports the exception in flight (call only inside a catch block).
void ReportCallbackError(const char* where) noexcept;

// Runs body(); on any exception reports it and returns `fallback`.
template <class Result, class Body>
Result Guarded(const char* where, Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        ReportCallbackError(where);
        return fallback;
    }
}

// The same for bodies without a result.
template <class Body>
void Guarded(const char* where, Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        ReportCallbackError(where);
    }
}

}  // namespace telvor
