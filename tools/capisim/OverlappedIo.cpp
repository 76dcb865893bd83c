#include "OverlappedIo.h"

#include "base/win/Handles.h"

namespace capisim {

namespace {

long Finish(HANDLE h, OVERLAPPED& ov, BOOL started, DWORD timeout_ms) {
    DWORD done = 0;
    if (!started) {
        if (GetLastError() != ERROR_IO_PENDING) return -1;
        if (WaitForSingleObject(ov.hEvent, timeout_ms) != WAIT_OBJECT_0) {
            CancelIo(h);
            // The cancelled operation still owns ov until it completes.
            GetOverlappedResult(h, &ov, &done, TRUE);
            SetLastError(WAIT_TIMEOUT);
            return -1;
        }
    }
    if (!GetOverlappedResult(h, &ov, &done, FALSE)) return -1;
    return static_cast<long>(done);
}

}  // namespace

long OverlappedRead(HANDLE h, void* buf, DWORD size, DWORD timeout_ms) {
    telvor::KernelHandle ev(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!ev) return -1;
    OVERLAPPED ov{};
    ov.hEvent = ev.get();
    const BOOL ok = ReadFile(h, buf, size, nullptr, &ov);
    return Finish(h, ov, ok, timeout_ms);
}

long OverlappedWrite(HANDLE h, const void* buf, DWORD size, DWORD timeout_ms) {
    telvor::KernelHandle ev(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!ev) return -1;
    OVERLAPPED ov{};
    ov.hEvent = ev.get();
    const BOOL ok = WriteFile(h, buf, size, nullptr, &ov);
    return Finish(h, ov, ok, timeout_ms);
}

}  // namespace capisim
