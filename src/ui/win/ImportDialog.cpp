#include "ui/win/ImportDialog.h"

#include <commdlg.h>

#include "base/StringTable.h"
#include "base/win/CallbackGuard.h"
#include "store/TextImport.h"
#include "ui/win/HelpViewer.h"
#include "ui/win/MessageDialogs.h"
#include "ui/win/OpenFileDialog.h"

namespace telvor {
namespace {

constexpr unsigned kTitleId = 20024;
constexpr unsigned kFilterId = 20025;

// The explorer-style dialog's hook: its help button shows the import's help topic.
UINT_PTR CALLBACK ImportHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    Guarded("ImportHook", [&] {
        if (message == WM_INITDIALOG) {
            SetWindowContextHelpId(GetParent(hook), kImportHelpContext);
        } else if (message == WM_NOTIFY) {
            const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
            if (notify->hdr.code == CDN_HELP) ShowHelpTopic(GetParent(hook), kImportHelpContext);
        }
    });
    return 0;
}

}  // namespace

std::optional<std::string> ChooseImportFile(HWND owner) {
    const std::string title = LoadStr(kTitleId);
    const std::string filter = SystemFilter(LoadStr(kFilterId));
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_SHOWHELP | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                OFN_EXPLORER | OFN_ENABLEHOOK;
    ofn.lpfnHook = ImportHook;
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
    return std::string(file);
}

std::optional<std::vector<CallerRow>> ImportRowsFromFile(HWND owner, const std::string& path,
                                                         SettingsStore& store) {
    auto rows = ImportCallerFile(path, ReadImportSeparator(store));
    if (!rows) ShowError(FormatStr(kFileOpenErrorId, {path}), owner);
    return rows;
}

std::optional<std::vector<CallerRow>> RunImportDialog(HWND owner, SettingsStore& store) {
    const std::optional<std::string> path = ChooseImportFile(owner);
    if (!path) return std::nullopt;
    return ImportRowsFromFile(owner, *path, store);
}

}  // namespace telvor
