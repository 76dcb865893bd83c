#include "ui/win/ImportDialog.h"

#include <commdlg.h>

#include "base/StringTable.h"
#include "base/win/CallbackGuard.h"
#include "store/TextImport.h"
#include "ui/win/ContactFiles.h"
#include "ui/win/HelpViewer.h"
#include "ui/win/MessageDialogs.h"
#include "ui/win/OpenFileDialog.h"

namespace telvor {
namespace {

constexpr unsigned kTitleId = 20024;
constexpr unsigned kFilterId = 20025;
constexpr unsigned kContactFilterId = 20031;

// "Textdateien|*.txt|Alle Dateien|*.*" with the address books after the text files, so that
// the documented first type stays the one shown first and "all files" stays last.
std::string ImportFilter() {
    const std::string text = LoadStr(kFilterId);
    std::size_t pair = text.find('|');
    if (pair != std::string::npos) pair = text.find('|', pair + 1);
    if (pair == std::string::npos) return text + "|" + LoadStr(kContactFilterId);
    return text.substr(0, pair + 1) + LoadStr(kContactFilterId) + text.substr(pair);
}

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
    const std::string filter = SystemFilter(ImportFilter());
    std::vector<char> file(MAX_PATH, '\0');
    OPENFILENAMEA ofn = FileDialogBase(owner, filter, file, title);
    ofn.Flags = OFN_SHOWHELP | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                OFN_EXPLORER | OFN_ENABLEHOOK;
    ofn.lpfnHook = ImportHook;
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
    return std::string(file.data());
}

std::optional<std::vector<CallerRow>> ImportRowsFromFile(HWND owner, const std::string& path,
                                                         SettingsStore& store) {
    auto rows = ImportCallerFile(path, ReadImportSeparator(store));
    if (!rows) ShowError(FormatStr(kFileOpenErrorId, {path}), owner);
    return rows;
}

std::optional<std::vector<CallerRow>> RunImportDialog(HWND owner, SettingsStore& store,
                                                      const AreaCodeList& areaCodes,
                                                      const std::vector<CallerRow>& existing) {
    const std::optional<std::string> path = ChooseImportFile(owner);
    if (!path) return std::nullopt;
    if (const std::optional<ContactFormat> format = ContactFormatOfFile(*path))
        return ImportContactFile(owner, *path, *format, store, areaCodes, existing);
    return ImportRowsFromFile(owner, *path, store);
}

}  // namespace telvor
