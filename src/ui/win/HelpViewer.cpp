#include "ui/win/HelpViewer.h"

#include <shellapi.h>
#include <string>
#include <vector>

#include "ui/HelpTopics.h"

namespace telvor {

namespace {

// The folder of the running program, with its trailing backslash.
std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// The page paths are plain ASCII: digits, letters and backslashes.
std::wstring Widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

}  // namespace

void ShowHelpTopic(HWND owner, DWORD context) {
    const std::wstring folder = ProgramFolder();
    const std::string page = HelpPagePath(context, [&](const std::string& relative) {
        return GetFileAttributesW((folder + Widen(relative)).c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    const std::wstring path = folder + Widen(page);
    ShellExecuteW(owner, L"open", path.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
}

void ShowHelpFor(HWND owner, const HELPINFO& info) {
    std::vector<std::uint32_t> chain;
    if (info.iContextType == HELPINFO_WINDOW) {
        for (HWND w = static_cast<HWND>(info.hItemHandle); w; w = GetParent(w)) {
            chain.push_back(GetWindowContextHelpId(w));
            if (!(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD))
                break;  // the form: its owner is no parent
        }
    } else {
        chain.push_back(static_cast<std::uint32_t>(info.dwContextId));
    }
    ShowHelpTopic(owner, EffectiveHelpContext(chain));
}

}  // namespace telvor
