// LateWait.dll: a CAPI library whose wait returns late. CAPI_WAIT_FOR_SIGNAL blocks until the
// registration is released and then stays inside this library for a while longer before it
// returns, as a driver may do while it tidies up. A program that unloads the library right
// after releasing would pull the code out from under the returning wait. Unlike the line
// simulator, this library does not pin itself, so it really goes when its last reference does.
#include <windows.h>

namespace {

// How long the wait stays in the library after the release.
constexpr DWORD kLateReturnMs = 300;
// Bounds the wait even if nobody ever releases (a test that failed half-way).
constexpr DWORD kLongestWaitMs = 30000;

HANDLE released = nullptr;  // manual reset: set by CAPI_RELEASE

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        return released != nullptr;
    }
    if (reason == DLL_PROCESS_DETACH && released) CloseHandle(released);
    return TRUE;
}

__declspec(dllexport) DWORD WINAPI CAPI_REGISTER(DWORD, DWORD, DWORD, DWORD, DWORD* applId) {
    ResetEvent(released);
    *applId = 1;
    return 0;
}

__declspec(dllexport) DWORD WINAPI CAPI_RELEASE(DWORD) {
    SetEvent(released);
    return 0;
}

__declspec(dllexport) DWORD WINAPI CAPI_PUT_MESSAGE(DWORD, void*) {
    return 0;
}

__declspec(dllexport) DWORD WINAPI CAPI_GET_MESSAGE(DWORD, void** message) {
    *message = nullptr;
    return 0x1104;  // queue empty
}

__declspec(dllexport) DWORD WINAPI CAPI_WAIT_FOR_SIGNAL(DWORD) {
    WaitForSingleObject(released, kLongestWaitMs);
    Sleep(kLateReturnMs);
    return 0;
}

__declspec(dllexport) DWORD WINAPI CAPI_GET_PROFILE(void* buffer, DWORD) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    bytes[0] = 1;  // one controller
    bytes[1] = 0;
    return 0;
}

}  // extern "C"
