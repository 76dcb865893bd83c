#include "support/CaseFiles.h"

#include <windows.h>

#include <stdexcept>

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

std::string InstallMonitor(std::string_view name) {
    const std::string dir = MakeCaseFolder(name);
    CopyFromBin(dir, {"Telvor.exe", "Capi2032.dll"});
    return dir;
}

}  // namespace telvor::e2e
