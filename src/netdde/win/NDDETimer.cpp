#include "netdde/win/NDDETimer.h"

#include "base/win/CallbackGuard.h"

#include <exception>

namespace telvor {

namespace {

NDDETimer* current = nullptr;

}  // namespace

NDDETimer::NDDETimer(UINT intervalMs, std::function<void()> onTimer)
    : onTimer_(std::move(onTimer)) {
    if (current) return;
    id_ = SetTimer(nullptr, 0, intervalMs, TimerProc);
    if (id_) current = this;
}

NDDETimer::~NDDETimer() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    current = nullptr;
}

void CALLBACK NDDETimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    if (!current || current->id_ != id || !current->onTimer_) return;
    // A failed tick is reported; the next one tries again.
    Guarded("client expiry", [] { current->onTimer_(); });
}

}  // namespace telvor
