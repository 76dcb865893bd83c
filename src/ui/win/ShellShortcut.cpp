#include "ui/win/ShellShortcut.h"

#include <windows.h>

#include <shlobj.h>

#include "base/win/Com.h"

namespace telvor {

namespace {

ComPtr<IShellLinkA> NewShellLink() {
    void* raw = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                &raw)))
        return {};
    return ComPtr<IShellLinkA>(static_cast<IShellLinkA*>(raw));
}

// IPersistFile takes wide names; ours are in the ANSI code page.
std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::optional<ShellShortcut> ReadShellShortcut(const std::string& path) {
    const ComScope com;
    const ComPtr<IShellLinkA> link = NewShellLink();
    const ComPtr<IPersistFile> file = QueryInterfaceOf<IPersistFile>(link.get(), IID_IPersistFile);
    if (!file || FAILED(file.get()->Load(Wide(path).c_str(), STGM_READ))) return std::nullopt;
    char text[MAX_PATH * 2] = {};
    ShellShortcut shortcut;
    if (FAILED(link.get()->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH))) return std::nullopt;
    shortcut.target = text;
    text[0] = '\0';
    link.get()->GetArguments(text, sizeof text);
    shortcut.arguments = text;
    text[0] = '\0';
    link.get()->GetWorkingDirectory(text, sizeof text);
    shortcut.workingFolder = text;
    return shortcut;
}

bool WriteShellShortcut(const std::string& path, const ShellShortcut& shortcut) {
    const ComScope com;
    const ComPtr<IShellLinkA> link = NewShellLink();
    const ComPtr<IPersistFile> file = QueryInterfaceOf<IPersistFile>(link.get(), IID_IPersistFile);
    return file && SUCCEEDED(link.get()->SetPath(shortcut.target.c_str())) &&
           SUCCEEDED(link.get()->SetArguments(shortcut.arguments.c_str())) &&
           SUCCEEDED(link.get()->SetWorkingDirectory(shortcut.workingFolder.c_str())) &&
           SUCCEEDED(file.get()->Save(Wide(path).c_str(), TRUE));
}

std::string StartupFolder() {
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return {};
    return folder;
}

std::string ThisProgram() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

StartupShortcut::StartupShortcut(std::string program) : program_(std::move(program)) {}

std::string StartupShortcut::Path() const {
    const std::string folder = StartupFolder();
    return folder.empty() ? folder : folder + "\\" + std::string(kStartupShortcutName);
}

bool StartupShortcut::Enabled() {
    const std::string path = Path();
    if (path.empty()) return false;
    const std::optional<ShellShortcut> shortcut = ReadShellShortcut(path);
    return shortcut && SameWindowsPath(shortcut->target, program_);
}

bool StartupShortcut::Enable() {
    const std::string path = Path();
    if (path.empty()) return false;
    // A Startup folder the profile lacks so far (CreateDirectory fails harmlessly when present).
    CreateDirectoryA(StartupFolder().c_str(), nullptr);
    return WriteShellShortcut(path, {program_, {}, FolderOf(program_)});
}

bool StartupShortcut::Disable() {
    const std::string path = Path();
    return !path.empty() && (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
}

}  // namespace telvor
