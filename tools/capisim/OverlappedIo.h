// Overlapped I/O on a handle opened with FILE_FLAG_OVERLAPPED, bounded in time: what the
// control pipe's server and client use, so that a stalled peer never blocks either side.
#pragma once

#include <windows.h>

namespace capisim {

// Bounded by timeout_ms (INFINITE allowed); cancels the operation when the time is up.
// Returns the bytes moved, or -1 on failure or timeout (GetLastError then tells which:
// WAIT_TIMEOUT on timeout).
long OverlappedRead(HANDLE h, void* buf, DWORD size, DWORD timeout_ms);
long OverlappedWrite(HANDLE h, const void* buf, DWORD size, DWORD timeout_ms);

}  // namespace capisim
