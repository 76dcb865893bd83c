#pragma once
#include "ui/FirstRun.h"  // FirstRun, the flag of the first start

// Program-wide flags that the configuration dialog reads and clears. Main thread only.
namespace telvor {

// Set by every recorded call; the next showing of the dialog opens the call list first.
extern bool CallRecorded;

}  // namespace telvor
