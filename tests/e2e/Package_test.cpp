// The package as a user gets it: unpacked into a fresh folder, with the line simulator of its
// Simulator folder beside the program, the monitor starts, shows a call and ends in order.
#include <windows.h>

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include "base/Version.h"
#include "support/CallScenario.h"
#include "support/CallerWindowView.h"
#include "support/CaseFiles.h"
#include "support/MonitorCase.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

constexpr const char* kArch = sizeof(void*) == 4 ? "win32" : "win64";

// Windows programs under Wine have no unzip of their own, but Wine starts a program of the
// machine given by its path. It hands back no process to wait for, so the shell leaves a
// marker once unzip has succeeded, and the case waits for that.
bool Unpack(const std::string& zip, const std::string& folderName) {
    const char* caseDir = std::getenv("TELVOR_CASE_DIR");
    if (!caseDir) return false;
    const std::string target = std::string(caseDir) + "/" + folderName;
    const std::string marker = JoinPath(MakeCaseFolder(folderName + ".done"), "ok");
    const std::string script = "unzip -q '" + zip + "' -d '" + target + "' && touch '" + caseDir +
                               "/" + folderName + ".done/ok'";
    LaunchOptions sh("Z:\\bin\\sh", {"-c", script});
    try {
        ChildProcess unzip(sh.OutputAs("unzip"));
        return PollUntil(60s, [&] { return FileExists(marker); });
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

TEST(Package, UnpackedIntoAFreshFolderTheMonitorStartsShowsACallAndEnds) {
    const std::string zip = TELVOR_PACKAGE_ZIP;
    const std::string name = zip.substr(zip.find_last_of('/') + 1);
    EXPECT_EQ(name, std::string("Telvor-") + TELVOR_VERSION_TEXT + "-" + kArch + ".zip")
        << "the package is named by the program's version";

    MakeCaseFolder("Telvor");
    ASSERT_TRUE(Unpack(zip, "Telvor")) << "the package could not be unpacked";
    const std::string folder = JoinPath(CaseDir(), "Telvor");
    for (const char* file : {"Telvor.exe", "TELVACT.exe", "AreaCode.txt", "AreaCode-SOURCES.txt",
                             "LIESMICH.txt", "LICENSE.txt", "Hilfe\\index.html", "Hilfe\\1005.html",
                             "Simulator\\Capi2032.dll", "Simulator\\capisimctl.exe"})
        EXPECT_TRUE(FileExists(JoinPath(folder, file))) << file << " is missing";
    EXPECT_FALSE(FileExists(JoinPath(folder, "Capi2032.dll")))
        << "the simulator must not stand in for the card of a real installation";

    // Trying it out as LIESMICH.txt says: the simulator's library beside the program.
    ASSERT_TRUE(CopyFileA(JoinPath(folder, "Simulator\\Capi2032.dll").c_str(),
                          JoinPath(folder, "Capi2032.dll").c_str(), TRUE));
    MonitorCase monitor(InstalledIn{folder});
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());
    ASSERT_TRUE(monitor.Ring(0x101, 1, "4711", "711123456"));
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u) << "no caller window";
    const std::optional<CallerWindowView> view = ReadCallerWindow(windows[0]);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->name, "Hans Muster");
    EXPECT_EQ(view->town, "Stuttgart") << "the shipped AreaCode.txt names the town";

    ASSERT_TRUE(monitor.Stop(30s)) << "the monitor did not end";
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

}  // namespace telvor::e2e
