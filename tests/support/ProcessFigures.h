#pragma once
// Figures of another process that a leak would raise, for the soak and the load cases.
#include <windows.h>

namespace telvor::test {

// Handles of one process from the system's handle table (GetProcessHandleCount is not
// answered for other processes everywhere); -1 when the table cannot be read.
long long HandleCount(DWORD pid);
// The process's working set in bytes; -1 when it cannot be read.
long long WorkingSetBytes(HANDLE process);

}  // namespace telvor::test
