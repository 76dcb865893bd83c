#pragma once
// NDDETimer: a thread timer that runs its handler every `intervalMs` while it lives, from
// whatever message loop the thread runs. One per process (timer callbacks carry no context).
#include <windows.h>

#include <functional>

namespace telvor {

inline constexpr UINT kNddeTimerIntervalMs = 90000;

class NDDETimer {
  public:
    NDDETimer(UINT intervalMs, std::function<void()> onTimer);
    ~NDDETimer();
    NDDETimer(const NDDETimer&) = delete;
    NDDETimer& operator=(const NDDETimer&) = delete;
    bool Running() const { return id_ != 0; }

  private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);

    std::function<void()> onTimer_;
    UINT_PTR id_ = 0;
};

}  // namespace telvor
