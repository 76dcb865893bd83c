#pragma once
// Program-wide flags that the configuration dialog reads and clears. Main thread only.
namespace telvor {

// Set by every recorded call; the next showing of the dialog opens the call list first.
extern bool CallRecorded;
// Set at start-up when no settings of this version were found: the dialog then opens itself
// on the MSN page and asks the user to enter the MSNs.
extern bool FirstRun;

}  // namespace telvor
