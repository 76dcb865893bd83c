#include "support/CaseFolder.h"

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/win/Handles.h"

namespace telvor::test {

namespace {

std::string LastErrorText(std::string_view what, const std::string& path) {
    return std::string(what) + " " + path + " (error " + std::to_string(GetLastError()) + ")";
}

void EnsureFolder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return;
    throw std::runtime_error(LastErrorText("cannot create folder", path));
}

std::string ResolveCaseDir() {
    char buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("TELVOR_CASE_DIR_WIN", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) {
        EnsureFolder(buffer);
        return buffer;
    }
    // Started by hand, outside scripts/wine-run: still never share a folder between runs.
    char temp[MAX_PATH];
    const DWORD t = GetTempPathA(sizeof temp, temp);
    if (t == 0 || t >= sizeof temp) throw std::runtime_error("no temp folder");
    const std::string dir = JoinPath(temp, "telvor-case-" + std::to_string(GetCurrentProcessId()));
    EnsureFolder(dir);
    return dir;
}

}  // namespace

std::string JoinPath(std::string_view a, std::string_view b) {
    std::string out(a);
    if (!out.empty() && out.back() != '\\' && out.back() != '/') out += '\\';
    out += b;
    return out;
}

std::string BinDir() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) throw std::runtime_error("cannot read the program's path");
    std::string dir(path, n);
    dir.erase(dir.find_last_of("\\/"));
    return dir;
}

std::string BinFile(std::string_view name) {
    return JoinPath(BinDir(), name);
}

std::string CaseDir() {
    static const std::string dir = ResolveCaseDir();
    return dir;
}

std::string MakeCaseFolder(std::string_view name) {
    const std::string dir = JoinPath(CaseDir(), name);
    EnsureFolder(dir);
    return dir;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

void SetWriteTimeBack(const std::string& path, unsigned seconds) {
    const KernelHandle file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME written{};
    if (!file || !GetFileTime(file.get(), nullptr, nullptr, &written))
        throw std::runtime_error("cannot open " + path);
    ULARGE_INTEGER time{};
    time.LowPart = written.dwLowDateTime;
    time.HighPart = written.dwHighDateTime;
    time.QuadPart -= std::uint64_t{seconds} * 10'000'000;  // FILETIME counts 100 ns
    const FILETIME earlier{time.LowPart, time.HighPart};
    if (!SetFileTime(file.get(), nullptr, nullptr, &earlier))
        throw std::runtime_error("cannot set the time of " + path);
}

}  // namespace telvor::test
