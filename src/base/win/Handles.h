#pragma once
// Owning wrappers of the kernel and window handles the CAPI layer creates.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace telvor {

struct KernelHandleCloser {
    void operator()(HANDLE h) const {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using UniqueKernelHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, KernelHandleCloser>;

struct WindowDestroyer {
    void operator()(HWND w) const {
        if (w) DestroyWindow(w);
    }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

}  // namespace telvor
