#pragma once
// COM for the few shell objects the programs use (shortcuts): an owning interface pointer and
// the thread's COM initialisation for one scope.
#include <windows.h>

#include <objbase.h>

#include "base/win/Handles.h"

namespace telvor {

namespace handle_traits {
template <class Interface>
struct Com {
    using Handle = Interface*;
    static bool Valid(Interface* p) { return p != nullptr; }
    static void Close(Interface* p) { p->Release(); }
};
}  // namespace handle_traits

// A COM interface pointer, released once.
template <class Interface>
using ComPtr = UniqueHandle<handle_traits::Com<Interface>>;

// Asks `from` for another of its interfaces; empty when it has none.
template <class Interface, class From>
ComPtr<Interface> QueryInterfaceOf(From* from, REFIID iid) {
    void* raw = nullptr;
    if (!from || FAILED(from->QueryInterface(iid, &raw))) return {};
    return ComPtr<Interface>(static_cast<Interface*>(raw));
}

// COM on the calling thread for one scope (apartment-threaded). Uninitialised again only when
// this scope's own call succeeded, so a thread that runs COM otherwise keeps it as it was.
class ComScope {
  public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    HRESULT result_;
};

}  // namespace telvor
