#include "PlatformKeep.h"

#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <psapi.h>

#include <vector>

#include "base/win/Handles.h"

namespace telvor::soak {

namespace {

// The caller window's make-up: its labels (three of them bold) and its buttons.
constexpr int kLabels = 14;
constexpr int kBoldLabels = 3;
constexpr int kButtons = 3;
constexpr unsigned kWarmUpWindows = 50;

struct ActivationTraits {
    using Handle = HANDLE;
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ReleaseActCtx(h); }
};
using UniqueActivationContext = UniqueHandle<ActivationTraits>;

// Keeps an activation context active for its lifetime.
class Activation {
  public:
    explicit Activation(HANDLE context) {
        active_ = context && ActivateActCtx(context, &cookie_);
    }
    ~Activation() {
        if (active_) DeactivateActCtx(0, cookie_);
    }
    Activation(const Activation&) = delete;
    Activation& operator=(const Activation&) = delete;
    bool Active() const { return active_; }

  private:
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

long long WorkingSet() {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) return -1;
    return static_cast<long long>(memory.WorkingSetSize);
}

HFONT MakeFont(int weight) {
    LOGFONTA lf{};
    lf.lfHeight = -11;
    lf.lfWeight = weight;
    lf.lfCharSet = ANSI_CHARSET;
    lstrcpyA(lf.lfFaceName, "MS Sans Serif");
    return CreateFontIndirectA(&lf);
}

// The caller window's controls, built on `parent` and destroyed again.
void BuildAndDestroy(HWND parent, HFONT normal, HFONT bold) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const auto control = [&](const char* cls, DWORD style, int index, HFONT font) {
        UniqueWindow made(CreateWindowExA(
            0, cls, "Label", WS_CHILD | WS_VISIBLE | style, 8, 8 + 12 * index, 100, 12, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + index)), instance, nullptr));
        if (made) SendMessageA(made.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return made;
    };
    std::vector<UniqueWindow> controls;
    for (int i = 0; i < kLabels; ++i)
        controls.push_back(
            control("STATIC", SS_LEFT | SS_NOPREFIX, i, i < kBoldLabels ? bold : normal));
    for (int i = 0; i < kButtons; ++i)
        controls.push_back(control("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, kLabels + i, normal));
}

}  // namespace

long long PlatformBytesPerCallerWindow(const std::string& monitorExe, unsigned windows) {
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = monitorExe.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);  // the program's manifest
    const UniqueActivationContext context(CreateActCtxA(&request));
    const Activation activation(context.get());
    if (!activation.Active() || windows == 0) return 0;
    // Loaded inside the context, so that the version the monitor uses registers its classes.
    const UniqueModule controls(LoadLibraryA("comctl32.dll"));
    INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    using InitProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (const auto initialise = reinterpret_cast<InitProc>(reinterpret_cast<void (*)()>(
            GetProcAddress(controls.get(), "InitCommonControlsEx"))))
        initialise(&init);

    // One hidden parent for all: only what the controls keep is measured.
    const UniqueWindow parent(CreateWindowExA(0, "#32770", "soak: platform keep", WS_POPUP, 0, 0,
                                              320, 240, nullptr, nullptr,
                                              GetModuleHandleA(nullptr), nullptr));
    if (!parent) return 0;
    const UniqueFont normal(MakeFont(FW_NORMAL));
    const UniqueFont bold(MakeFont(FW_BOLD));
    for (unsigned i = 0; i < kWarmUpWindows; ++i)
        BuildAndDestroy(parent.get(), normal.get(), bold.get());
    const long long before = WorkingSet();
    for (unsigned i = 0; i < windows; ++i) BuildAndDestroy(parent.get(), normal.get(), bold.get());
    const long long after = WorkingSet();
    if (before < 0 || after <= before) return 0;
    return (after - before) / windows;
}

}  // namespace telvor::soak
