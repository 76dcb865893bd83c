#include "base/win/CallbackGuard.h"

#include <windows.h>

#include <atomic>

namespace telvor {

namespace {
std::atomic<CallbackErrorReporter> Reporter{nullptr};

std::string TextOfCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}
}  // namespace

CallbackErrorReporter SetCallbackErrorReporter(CallbackErrorReporter reporter) noexcept {
    return Reporter.exchange(reporter);
}

void ReportCallbackError(const char* where) noexcept {
    try {
        const std::string text = TextOfCurrentException();
        if (CallbackErrorReporter reporter = Reporter.load()) {
            reporter(text);
        } else {
            const std::string line = std::string("Telvor: ") + where + ": " + text + "\n";
            OutputDebugStringA(line.c_str());
        }
    } catch (...) {
        // Out of memory while reporting: nothing more can be said.
    }
}

}  // namespace telvor
