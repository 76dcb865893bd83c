#include "capi/win/CapiLibrary.h"

#include <utility>

#include "base/StringTable.h"

namespace telvor {

CapiFunctionTable CapiFunctions;

namespace {

constexpr unsigned kLibraryMissingText = 20026;

LibraryHandle CapiLibrary;

template <typename Proc>
bool Resolve(HMODULE module, const char* name, Proc& entry, DWORD& error) {
    FARPROC address = GetProcAddress(module, name);
    if (!address) {
        error = GetLastError();
        return false;
    }
    // GetProcAddress returns a generic function pointer; the CAPI prototype is fixed.
    entry = reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(address));
    return true;
}

}  // namespace

LibraryHandle& LibraryHandle::operator=(LibraryHandle&& other) noexcept {
    if (this != &other) {
        reset();
        module_ = other.release();
    }
    return *this;
}

HMODULE LibraryHandle::release() {
    return std::exchange(module_, nullptr);
}

void LibraryHandle::reset() {
    if (module_) FreeLibrary(std::exchange(module_, nullptr));
}

std::optional<CapiBinding> BindCapiLibrary(const char* fileName, DWORD& error) {
    error = 0;
    CapiBinding binding{LibraryHandle(LoadLibraryA(fileName)), {}};
    if (!binding.library) {
        error = GetLastError();
        return std::nullopt;
    }
    const HMODULE m = binding.library.get();
    auto& f = binding.functions;
    // Resolved in the documented order; the first missing entry stops the binding.
    if (!Resolve(m, "CAPI_REGISTER", f.CAPI_REGISTER, error) ||
        !Resolve(m, "CAPI_RELEASE", f.CAPI_RELEASE, error) ||
        !Resolve(m, "CAPI_PUT_MESSAGE", f.CAPI_PUT_MESSAGE, error) ||
        !Resolve(m, "CAPI_GET_MESSAGE", f.CAPI_GET_MESSAGE, error) ||
        !Resolve(m, "CAPI_WAIT_FOR_SIGNAL", f.CAPI_WAIT_FOR_SIGNAL, error) ||
        !Resolve(m, "CAPI_GET_PROFILE", f.CAPI_GET_PROFILE, error)) {
        if (error == 0) error = ERROR_PROC_NOT_FOUND;
        return std::nullopt;  // unloads the library
    }
    return binding;
}

bool LoadCapiLibrary(const char* fileName, const CapiLoadFailure& onFailure) {
    DWORD error = 0;
    auto binding = BindCapiLibrary(fileName, error);
    if (!binding) {
        const std::string text = FormatStr(kLibraryMissingText, {static_cast<long long>(error)});
        if (onFailure.ShowError) onFailure.ShowError(text);
        if (onFailure.Exit) onFailure.Exit(0);
        return false;
    }
    CapiLibrary = std::move(binding->library);
    CapiFunctions = binding->functions;
    return true;
}

void FreeCapiLibrary() {
    CapiFunctions = {};
    CapiLibrary.reset();
}

bool CapiLibraryLoaded() {
    return static_cast<bool>(CapiLibrary);
}

}  // namespace telvor
