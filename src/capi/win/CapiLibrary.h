#pragma once
// Binding of the CAPI 2.0 library (Capi2032.dll), loaded at run time.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace telvor {

// The six entry points. Every argument is 32 bits wide, except the message pointer and the
// pointer-to-pointer, which are pointer-sized on 64-bit Windows. Results are CAPI error codes
// (0 = success).
using CapiRegisterProc = DWORD(WINAPI*)(DWORD messageBufferSize, DWORD maxLogicalConnections,
                                        DWORD maxBDataBlocks, DWORD maxBDataLength, DWORD* applId);
using CapiReleaseProc = DWORD(WINAPI*)(DWORD applId);
using CapiPutMessageProc = DWORD(WINAPI*)(DWORD applId, void* message);
using CapiGetMessageProc = DWORD(WINAPI*)(DWORD applId, void** message);
using CapiWaitForSignalProc = DWORD(WINAPI*)(DWORD applId);
using CapiGetProfileProc = DWORD(WINAPI*)(void* buffer, DWORD controllerNumber);

struct CapiFunctionTable {
    CapiRegisterProc CAPI_REGISTER = nullptr;
    CapiReleaseProc CAPI_RELEASE = nullptr;
    CapiPutMessageProc CAPI_PUT_MESSAGE = nullptr;
    CapiGetMessageProc CAPI_GET_MESSAGE = nullptr;
    CapiWaitForSignalProc CAPI_WAIT_FOR_SIGNAL = nullptr;
    CapiGetProfileProc CAPI_GET_PROFILE = nullptr;

    bool Complete() const {
        return CAPI_REGISTER && CAPI_RELEASE && CAPI_PUT_MESSAGE && CAPI_GET_MESSAGE &&
               CAPI_WAIT_FOR_SIGNAL && CAPI_GET_PROFILE;
    }
};

// The process-wide table: filled by LoadCapiLibrary before any other thread exists, read-only
// afterwards.
extern CapiFunctionTable CapiFunctions;

// Owns a loaded module.
class LibraryHandle {
  public:
    LibraryHandle() = default;
    explicit LibraryHandle(HMODULE module) : module_(module) {}
    LibraryHandle(LibraryHandle&& other) noexcept : module_(other.release()) {}
    LibraryHandle& operator=(LibraryHandle&& other) noexcept;
    LibraryHandle(const LibraryHandle&) = delete;
    LibraryHandle& operator=(const LibraryHandle&) = delete;
    ~LibraryHandle() { reset(); }

    HMODULE get() const { return module_; }
    explicit operator bool() const { return module_ != nullptr; }
    HMODULE release();
    void reset();

  private:
    HMODULE module_ = nullptr;
};

struct CapiBinding {
    LibraryHandle library;
    CapiFunctionTable functions;
};

// Loads `fileName` with LoadLibraryA and resolves all six entry points. When the load fails
// or an entry point is missing, the library is unloaded again and `error` holds the
// GetLastError code of the failed step.
std::optional<CapiBinding> BindCapiLibrary(const char* fileName, DWORD& error);

// What happens when the library cannot be bound; the program supplies it (error dialog, end).
struct CapiLoadFailure {
    std::function<void(const std::string& text)> ShowError;
    std::function<void(UINT exitCode)> Exit;
};

constexpr char kCapiLibraryName[] = "Capi2032.dll";

// Binds `fileName` (the platform's search order when it has no path) into CapiFunctions. A
// library that cannot be loaded, or that lacks an entry point (which must never be called),
// gets string 20026 with the decimal error code handed to ShowError, then Exit(0). Returns
// false when Exit returned.
bool LoadCapiLibrary(const char* fileName, const CapiLoadFailure& onFailure);

// Unloads the library bound by LoadCapiLibrary, if any, and empties CapiFunctions.
void FreeCapiLibrary();
bool CapiLibraryLoaded();

}  // namespace telvor
