#include "monitor/win/Actions.h"

#include <cctype>
#include <mmsystem.h>
#include <shellapi.h>

#include "base/StringTable.h"
#include "ui/win/MessageDialogs.h"

namespace telvor {

namespace {

constexpr unsigned kProtocolMissingId = 20013;  // "Die Protokolldatei wurde nicht gefunden."
constexpr unsigned kDeleteProtocolId = 20014;   // "Soll die Protokolldatei wirklich ..."

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool IsSoundFile(std::string_view program) {
    if (program.size() < 4) return false;
    std::string tail(program.substr(program.size() - 4));
    for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return tail == ".WAV";
}

void PlayCallSound(std::string_view path, SoundMode mode) {
    const std::string file(path);
    // SND_NODEFAULT: a missing file must not ring the system's default sound instead.
    const UINT flags =
        (mode == SoundMode::Sync ? SND_SYNC : SND_ASYNC) | SND_NOSTOP | SND_NODEFAULT;
    sndPlaySoundA(file.c_str(), flags);
}

void StartCallProgram(std::string_view program, std::string_view parameters) {
    const std::string file(program);
    const std::string args(parameters);
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;  // failures are silent, never an error box
    info.lpVerb = "open";
    info.lpFile = file.c_str();
    info.lpParameters = args.c_str();
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOWDEFAULT;
    ShellExecuteExA(&info);
}

void RunCallAction(std::string_view program, std::string_view expandedParameters, SoundMode mode) {
    if (program.empty()) return;
    if (IsSoundFile(program))
        PlayCallSound(program, mode);
    else
        StartCallProgram(program, expandedParameters);
}

void RunCommandLine(const std::string& commandLine) {
    WinExec(commandLine.c_str(), SW_SHOWNORMAL);
}

bool ShowProtocol(const std::string& path, HWND owner, const CommandRunner& run) {
    if (!IsFile(path)) {
        ShowError(LoadStr(kProtocolMissingId), owner);
        return false;
    }
    // Notepad takes the rest of its command line as the file name, blanks included.
    run("Notepad " + path);
    return true;
}

bool DeleteProtocol(const std::string& path, HWND owner) {
    if (!IsFile(path)) {
        ShowError(LoadStr(kProtocolMissingId), owner);
        return false;
    }
    if (!Confirm(LoadStr(kDeleteProtocolId), owner)) return false;
    return DeleteFileA(path.c_str()) != FALSE;
}

}  // namespace telvor
