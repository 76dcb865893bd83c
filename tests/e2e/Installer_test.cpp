// The installer as a user runs it, silently (/S) in the case's fresh prefix: a first
// installation, an upgrade over a running monitor, the removal, and a folder it cannot write.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>

#include "base/Version.h"
#include "store/CallList.h"
#include "support/CallScenario.h"
#include "support/CallerWindowView.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/MonitorCase.h"
#include "support/WindowProbe.h"
#include "ui/StartAtLogon.h"
#include "ui/win/ShellShortcut.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Telvor";
constexpr const char* kProgramFiles[] = {"Telvor.exe",           "TELVACT.exe",     "AreaCode.txt",
                                         "AreaCode-SOURCES.txt", "LIESMICH.txt",    "LICENSE.txt",
                                         "Hilfe\\index.html",    "Hilfe\\1319.html"};
constexpr const char* kMenuShortcuts[] = {"Telvor.lnk", "TELVACT an.lnk", "TELVACT aus.lnk",
                                          "Hilfe.lnk", "Deinstallieren.lnk"};

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        throw std::runtime_error("no shell folder " + std::to_string(csidl));
    return path;
}

std::string DefaultFolder() {
    return JoinPath(ShellFolder(CSIDL_LOCAL_APPDATA), "Programs\\Telvor");
}
std::string MenuFolder() {
    return JoinPath(ShellFolder(CSIDL_PROGRAMS), "Telvor");
}
std::string StartupLink() {
    return JoinPath(StartupFolder(), kStartupShortcutName);
}

// The installer of this tree (built beside the zip), run and waited for; its exit code.
DWORD RunSetup(std::vector<std::string> args) {
    std::string setup = "Z:" TELVOR_PACKAGE_SETUP;
    for (char& c : setup)
        if (c == '/') c = '\\';
    return RunProgram(LaunchOptions(setup, std::move(args)).OutputAs("setup"), 180s).exitCode;
}

// The uninstaller copies itself away and returns at once; the copy has done its work when the
// uninstaller itself is gone.
bool RunUninstaller(const std::string& folder) {
    const std::string uninstaller = JoinPath(folder, "Deinstallieren.exe");
    return RunProgram(LaunchOptions(uninstaller, {"/S"}).OutputAs("uninstall"), 60s).exitCode ==
               0 &&
           PollUntil(60s, [&] { return !FileExists(uninstaller); });
}

std::optional<std::string> UninstallValue(std::string_view name) {
    return ReadUserValue(HKEY_CURRENT_USER, kUninstallKey, name);
}

// The user's data as a running monitor leaves it beside the program, and its settings.
void SeedUserData(const std::string& folder) {
    WriteCallerDatabase(JoinPath(folder, "CallerList.ddb"),
                        {{"0711 123456", "Hans Muster", false, "", ""}});
    const std::vector<CallRecord> calls = {{"Hans Muster", "Büro (4711)", 46364.25, false}};
    ASSERT_TRUE(ReplaceCalls(JoinPath(folder, "Calls.ddb"), CallRecordSource(calls)));
    WriteFileBytes(JoinPath(folder, "Telvor.log"), "8.12.2026 14:35 Hans Muster\r\n");
}

struct UserData {
    std::string callers, calls, protocol;
    bool operator==(const UserData&) const = default;
};
UserData ReadUserData(const std::string& folder) {
    return {ReadFileBytes(JoinPath(folder, "CallerList.ddb")).value_or("<missing>"),
            ReadFileBytes(JoinPath(folder, "Calls.ddb")).value_or("<missing>"),
            ReadFileBytes(JoinPath(folder, "Telvor.log")).value_or("<missing>")};
}

FILETIME WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// Ends a monitor this case did not start itself (the installer did), in order.
void EndMonitorOf(HWND main) {
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForWindowGone(main, 30s));
}

}  // namespace

TEST(Installer, FreshInstallPutsProgramShortcutsAndUninstallEntryInPlaceAndTheMonitorRuns) {
    ASSERT_EQ(RunSetup({"/S"}), 0u);
    const std::string folder = DefaultFolder();
    for (const char* file : kProgramFiles)
        EXPECT_TRUE(FileExists(JoinPath(folder, file))) << file << " is missing";
    EXPECT_FALSE(FileExists(JoinPath(folder, "Simulator\\Capi2032.dll")))
        << "the simulator is off by default";
    for (const char* link : kMenuShortcuts)
        EXPECT_TRUE(FileExists(JoinPath(MenuFolder(), link))) << link << " is missing";
    const auto activatorOn = ReadShellShortcut(JoinPath(MenuFolder(), "TELVACT an.lnk"));
    ASSERT_TRUE(activatorOn);
    EXPECT_TRUE(SameWindowsPath(activatorOn->target, JoinPath(folder, "TELVACT.exe")));
    EXPECT_EQ(activatorOn->arguments, "/A");

    // Start at logon: the program in its own folder, where it finds AreaCode.txt.
    const auto startup = ReadShellShortcut(StartupLink());
    ASSERT_TRUE(startup) << "no shortcut in the Startup folder";
    EXPECT_TRUE(SameWindowsPath(startup->target, JoinPath(folder, "Telvor.exe")));
    EXPECT_TRUE(SameWindowsPath(startup->workingFolder, folder));

    EXPECT_EQ(UninstallValue("DisplayName"), std::string("Telvor ") + TELVOR_VERSION_TEXT);
    EXPECT_EQ(UninstallValue("DisplayVersion"), TELVOR_VERSION_TEXT);
    EXPECT_EQ(UninstallValue("Publisher"), "Orbek");
    EXPECT_EQ(UninstallValue("UninstallString"), "\"" + folder + "\\Deinstallieren.exe\"");
    EXPECT_EQ(UninstallValue("QuietUninstallString"), "\"" + folder + "\\Deinstallieren.exe\" /S");

    CopyFromBin(folder, {"Capi2032.dll"});
    MonitorCase monitor(InstalledIn{folder});
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());
    ASSERT_TRUE(monitor.Ring(0x101, 1, "4711", "711123456"));
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u) << "no caller window";
    const std::optional<CallerWindowView> view = ReadCallerWindow(windows[0]);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->name, "Hans Muster");
    EXPECT_EQ(view->town, "Stuttgart");

    // The configuration dialog shows the installer's start at logon and turns it off and on.
    ASSERT_TRUE(monitor.Send(kTrayIconMessage, 1, WM_LBUTTONDBLCLK));
    const HWND configure = WaitForVisibleWindow("#32770", "Telvor einrichten", 10s);
    ASSERT_NE(configure, nullptr);
    const HWND box = ButtonWithText(configure, "&Beim Anmelden starten");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    const auto clickAndApply = [&] {
        PostMessageA(box, BM_CLICK, 0, 0);
        ASSERT_TRUE(PollUntil(
            5s, [&] { return IsWindowEnabled(ButtonWithText(configure, "Ü&bernehmen")); }));
        ASSERT_TRUE(PressButton(configure, "Ü&bernehmen"));
    };
    clickAndApply();
    EXPECT_TRUE(PollUntil(10s, [] { return !FileExists(StartupLink()); }));
    clickAndApply();
    ASSERT_TRUE(PollUntil(10s, [] { return FileExists(StartupLink()); }));
    const auto again = ReadShellShortcut(StartupLink());
    ASSERT_TRUE(again);
    EXPECT_TRUE(SameWindowsPath(again->target, JoinPath(folder, "Telvor.exe")));
    EXPECT_TRUE(SameWindowsPath(again->workingFolder, folder)) << "as the installer makes it";
    EXPECT_TRUE(monitor.Stop(30s));
}

TEST(Installer, UpgradeEndsTheRunningMonitorInOrderKeepsTheDataAndStartsItAgain) {
    ASSERT_EQ(RunSetup({"/S"}), 0u);
    const std::string folder = DefaultFolder();
    CopyFromBin(folder, {"Capi2032.dll"});
    SeedUserData(folder);
    // An earlier version's files: a program older than the package, area codes of its own.
    SetWriteTimeBack(JoinPath(folder, "Telvor.exe"), 400 * 24 * 3600);
    const FILETIME oldProgram = WriteTime(JoinPath(folder, "Telvor.exe"));
    WriteFileBytes(JoinPath(folder, "AreaCode.txt"), "N711\tAlte Liste\r\n");
    MonitorCase monitor(InstalledIn{folder});
    SeedMsn(0, "4711", "Büro");
    ASSERT_TRUE(monitor.StartListening());
    // What only an orderly end writes back.
    WriteSetting("Settings", "Version", "1.00");
    const UserData before = ReadUserData(folder);

    ASSERT_EQ(RunSetup({"/S"}), 0u);
    ASSERT_TRUE(monitor.Process().WaitForExit(10s)) << "the running monitor was not ended";
    EXPECT_EQ(monitor.Process().ExitCode(), 0u) << "ended by force, not in order";
    EXPECT_EQ(ReadSetting("Settings", "Version"), TELVOR_VERSION_TEXT);
    EXPECT_EQ(ReadSetting("MSNs\\00000000", "Number"), "4711");
    EXPECT_TRUE(ReadUserData(folder) == before) << "the user's data changed";
    const FILETIME newProgram = WriteTime(JoinPath(folder, "Telvor.exe"));
    EXPECT_NE(CompareFileTime(&oldProgram, &newProgram), 0) << "the program was not replaced";
    EXPECT_NE(ReadFileBytes(JoinPath(folder, "AreaCode.txt"))->find("Stuttgart"), std::string::npos)
        << "the shipped area codes replace the old ones";

    // Running again, from the installation: a call finds its town in the new AreaCode.txt.
    const HWND main = monitor.MainWindow(30s);
    ASSERT_TRUE(main) << "the monitor was not started again";
    ASSERT_TRUE(monitor.Sim().Connect(30000));
    ASSERT_TRUE(monitor.WaitForPut(capisim::kListen, capisim::kReq, {}, 30s));
    ASSERT_TRUE(monitor.Ring(0x101, 1, "4711", "711999"));
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(ReadCallerWindow(windows[0])->town, "Stuttgart");
    EndMonitorOf(main);
}

TEST(Installer, SilentUninstallRemovesTheProgramAndKeepsTheUsersData) {
    ASSERT_EQ(RunSetup({"/S"}), 0u);
    const std::string folder = DefaultFolder();
    SeedUserData(folder);
    SeedMsn(0, "4711", "Büro");
    const UserData before = ReadUserData(folder);

    ASSERT_TRUE(RunUninstaller(folder)) << "the uninstaller did not finish";
    for (const char* file : kProgramFiles)
        EXPECT_FALSE(FileExists(JoinPath(folder, file))) << file << " is still there";
    EXPECT_FALSE(FileExists(JoinPath(folder, "Hilfe")));
    EXPECT_FALSE(FileExists(MenuFolder())) << "the Start-menu folder is still there";
    EXPECT_FALSE(FileExists(StartupLink())) << "it still starts at logon";
    EXPECT_FALSE(UninstallValue("DisplayName")) << "still in the list of programs";
    EXPECT_TRUE(ReadUserData(folder) == before) << "the user's data went";
    EXPECT_EQ(ReadSetting("MSNs\\00000000", "Number"), "4711") << "the settings went";
}

// Wine runs as root here, where a read-only folder is still writable. A path through a file
// cannot be written by anybody: the folder can never be created.
TEST(Installer, RefusesAFolderItCannotWriteAndLeavesNothingBehind) {
    const std::string blocker = JoinPath(CaseDir(), "blocker");
    WriteFileBytes(blocker, "a file, not a folder");
    EXPECT_NE(RunSetup({"/S", "/D=" + JoinPath(blocker, "Telvor")}), 0u);
    EXPECT_EQ(ReadFileBytes(blocker), "a file, not a folder");
    EXPECT_FALSE(UninstallValue("DisplayName"));
    EXPECT_FALSE(FileExists(MenuFolder()));
    EXPECT_FALSE(FileExists(StartupLink()));
    EXPECT_FALSE(FileExists(JoinPath(DefaultFolder(), "Telvor.exe")));
}

}  // namespace telvor::e2e
