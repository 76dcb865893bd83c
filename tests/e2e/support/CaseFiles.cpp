#include "support/CaseFiles.h"

#include <windows.h>

#include <stdexcept>

#include "base/win/Handles.h"

namespace telvor::e2e {

void CopyFromBin(const std::string& folder, std::initializer_list<std::string_view> names) {
    for (auto name : names) {
        const std::string from = BinFile(name);
        if (!CopyFileA(from.c_str(), JoinPath(folder, name).c_str(), FALSE)) {
            throw std::runtime_error("cannot copy " + from + " (error " +
                                     std::to_string(GetLastError()) + ")");
        }
    }
}

void CopyFolderFromBin(const std::string& folder, std::string_view name) {
    const std::string from = BinFile(name);
    const std::string to = JoinPath(folder, name);
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found{};
    const UniqueFileSearch search(FindFirstFileA(JoinPath(from, "*").c_str(), &found));
    if (!search) throw std::runtime_error("cannot list " + from);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string file = found.cFileName;
        if (!CopyFileA(JoinPath(from, file).c_str(), JoinPath(to, file).c_str(), FALSE))
            throw std::runtime_error("cannot copy " + JoinPath(from, file));
    } while (FindNextFileA(search.get(), &found));
}

std::string InstallMonitor(std::string_view name) {
    const std::string dir = MakeCaseFolder(name);
    CopyFromBin(dir, {"Telvor.exe", "Capi2032.dll"});
    return dir;
}

}  // namespace telvor::e2e
