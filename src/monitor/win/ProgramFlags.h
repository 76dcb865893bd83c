#pragma once
// The monitor's process-wide flags. Only the main thread reads or writes them.
#include "base/ScopedFlag.h"

namespace telvor {

struct ProgramFlags {
    bool NoIcon = false;          // run without notification icon: every shell call is skipped
    bool CallsSuspended = false;  // display of calls switched off (never stored)
    bool DialogBusy = false;      // a modal dialog of the program is open
    bool OldWindows = false;      // Windows major version below 4: no notification area
};

ProgramFlags& Program();

// Sets DialogBusy for the lifetime of a modal dialog.
class DialogBusyScope {
  public:
    DialogBusyScope() : flag_(Program().DialogBusy) {}

  private:
    ScopedFlag flag_;
};

}  // namespace telvor
