#include "ui/win/OpenFileDialog.h"

#include <vector>

namespace telvor {

std::string SystemFilter(std::string_view filter) {
    std::string text(filter);
    for (char& c : text)
        if (c == '|') c = '\0';
    text.append(2, '\0');
    return text;
}

OPENFILENAMEA FileDialogBase(HWND owner, const std::string& systemFilter, std::vector<char>& file,
                             const std::string& title) {
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = systemFilter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    return ofn;
}

std::optional<std::string> OpenFileDialog::Run(HWND owner, std::string_view preset,
                                               const std::string& folder) const {
    // The file name buffer: room for any path the system's dialog can return.
    std::vector<char> file(32768, '\0');
    if (preset.size() >= file.size()) return std::nullopt;
    preset.copy(file.data(), preset.size());
    const std::string filter = SystemFilter(filter_);

    OPENFILENAMEA ofn = FileDialogBase(owner, filter, file, title_);
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = options_;
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
    return std::string(file.data());
}

}  // namespace telvor
