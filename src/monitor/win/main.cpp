// Telvor.exe: binds the CAPI library (unless an NCID server is the only source of calls),
// refuses to run twice, creates its forms in order and runs behind its notification icon until
// "Beenden" or a quit request.
#include <windows.h>

#include <commctrl.h>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/StringTable.h"
#include "capi/win/CapiLibrary.h"
#include "monitor/win/LineMessages.h"
#include "monitor/win/MainWindow.h"
#include "ncid/ClientSettings.h"
#include "store/win/RegistrySettingsStore.h"
#include "ui/win/AboutBox.h"
#include "ui/win/ConfigDialog.h"
#include "ui/win/EntryDialog.h"
#include "ui/win/Form.h"
#include "ui/win/MessageDialogs.h"

namespace {

std::string ModulePath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
    return args;
}

// A form that cannot be built (a caption that is not an ID) is reported and left out.
template <class T>
std::unique_ptr<T> CreateForm(HWND owner) {
    std::string error;
    std::unique_ptr<T> form = T::Create(owner, error);
    if (!form) telvor::ShowError(error, owner);
    return form;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace telvor;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    SetCallbackErrorReporter(ShowCallbackError);  // failed handlers end with the error box

    // 1. The library first: without it nothing else of the program runs, unless the calls
    // come from an NCID server alone.
    {
        RegistrySettingsStore store;
        if (ReadNcidClientSettings(store).UsesCapi())
            LoadCapiLibrary(kCapiLibraryName, ProgramCapiLoadFailure());
    }
    LoadStartupTexts();

    // 2. One monitor per user session: a second start hands over and ends.
    if (HWND running = FindWindowA(kMainWindowClass, kMainWindowTitle)) {
        SendMessageA(running, WM_SHOWCONFIG, 0, 0);
        FreeCapiLibrary();
        return 0;
    }

    // 3-6. The forms, in this order; the main form is never shown.
    {
        TTelvorMainForm mainForm(instance, Arguments(), ModulePath());
        if (mainForm.Create()) {
            std::unique_ptr<TConfigureForm> configure =
                CreateForm<TConfigureForm>(mainForm.Handle());
            std::unique_ptr<TAboutBox> about = CreateForm<TAboutBox>(mainForm.Handle());
            std::unique_ptr<TEditDbEntry> editEntry = CreateForm<TEditDbEntry>(mainForm.Handle());
            mainForm.AttachForms(configure.get(), about.get(), editEntry.get());

            // 7. Until "Beenden" or a quit request (no CAPI controller).
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                if (mainForm.PreTranslate(msg) || Form::PreTranslate(msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (configure) configure->Detach();
            mainForm.AttachForms(nullptr, nullptr);
            mainForm.Destroy();
        }
    }

    // 8. The library is unloaded last.
    FreeCapiLibrary();
    return 0;
}
