// The monitor's start and end as a user and a peer program see them: a PC without the CAPI
// library, a line without controllers, a second start, the settings an orderly end leaves
// behind, and an area-code file that is missing or cannot be read.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "CapiSimClient.h"
#include "base/win/Handles.h"
#include "support/CallerWindowView.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/ChildProcess.h"
#include "support/FakeWindow.h"
#include "support/MonitorCase.h"
#include "support/TextLines.h"
#include "support/WindowProbe.h"
#include "support/WineSettings.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

// What a message dialog shows: its texts and its buttons, in creation order.
struct DialogContent {
    std::vector<std::string> texts;
    std::vector<std::string> buttons;
};

DialogContent ReadDialog(HWND dialog) {
    DialogContent content;
    for (const ChildControl& control : ChildControls(dialog)) {
        if (!control.visible) continue;
        if (lstrcmpiA(control.className.c_str(), "Button") == 0)
            content.buttons.push_back(control.text);
        else if (lstrcmpiA(control.className.c_str(), "Static") == 0 && !control.text.empty())
            content.texts.push_back(control.text);
    }
    return content;
}

// The simulator's event lines (REGISTER, RELEASE, PUT) of the log file, without the lines
// it writes for humans only.
std::vector<std::string> CapiEvents(const std::string& logPath) {
    std::vector<std::string> events;
    for (const std::string& line : ReadTextLines(logPath))
        if (line.rfind("REGISTER ", 0) == 0 || line.rfind("RELEASE ", 0) == 0 ||
            line.rfind("PUT ", 0) == 0)
            events.push_back(line);
    return events;
}

// The CIP mask of a logged LISTEN_REQ; nothing for any other event.
std::optional<std::uint32_t> ListenMask(const std::string& event) {
    const std::size_t hex = event.rfind(' ');
    capisim::Bytes message;
    if (event.rfind("PUT ", 0) != 0 || hex == std::string::npos ||
        !capisim::FromHex(event.substr(hex + 1), message) ||
        capisim::Command(message) != capisim::kListen ||
        capisim::Subcommand(message) != capisim::kReq)
        return std::nullopt;
    return capisim::Dword(message, 16);
}

constexpr std::uint32_t kEveryService = 0x1FFF03FF;

std::string CaseLog(const char* name) {
    return JoinPath(CaseDir(), name);
}

// Starts the monitor with the simulator writing its events to `simLog`, and waits until it
// listens and its main window exists.
bool StartListeningWithLog(MonitorCase& monitor, const std::string& simLog,
                           std::vector<std::string> args = {}) {
    WriteSetting("Settings", "Version", "2.00");  // a returning user, as StartListening
    monitor.Start(std::move(args), 1, {{"CAPISIM_LOG", simLog}});
    return monitor.Sim().Connect(30000) &&
           monitor.WaitForPut(capisim::kListen, capisim::kReq, {}, 30s) && monitor.MainWindow();
}

// A library without a controller: one error dialog, the program's only window, with 20027;
// after OK the quit request ends the program with exit code 0.
void ExpectMissingCardThenEnd(ChildProcess& telvor) {
    const HWND dialog = WaitForVisibleWindow("#32770", "Fehler", 30s);
    ASSERT_NE(dialog, nullptr) << "no error dialog appeared";
    EXPECT_EQ(VisibleWindowsOf(telvor.Pid()), std::vector<HWND>{dialog});
    const DialogContent content = ReadDialog(dialog);
    EXPECT_EQ(content.texts,
              std::vector<std::string>{"Sie benötigen eine ISDN-Karte mit CAPI 2.0."});
    EXPECT_EQ(content.buttons, std::vector<std::string>{"OK"});

    ASSERT_TRUE(PressButton(dialog, "OK"));
    ASSERT_TRUE(telvor.WaitForExit(30s)) << "the quit request must end the program";
    EXPECT_EQ(telvor.ExitCode(), 0u);
}

std::size_t MainWindowCount() {
    return TopLevelWindows({.className = "TTelvorMainForm", .title = "TelvorServer"}).size();
}

TEST(StartWithoutCapiLibrary, ShowsOneErrorWithTheLoadErrorCodeAndEndsWithZero) {
    // Installed without the line simulator. Wine's own library stays out because the harness
    // runs every case with capi2032=n (scripts/wine-run): only a library beside the program
    // would do, and there is none.
    const std::string folder = MakeCaseFolder("NoCapi");
    CopyFromBin(folder, {"Telvor.exe"});
    const FakeWindow running("TTelvorMainForm", "TelvorServer");

    ChildProcess telvor(
        LaunchOptions(JoinPath(folder, "Telvor.exe")).In(folder).OutputAs("telvor"));
    const HWND dialog = WaitForVisibleWindow("#32770", "Fehler", 30s);
    ASSERT_NE(dialog, nullptr) << "no error dialog appeared";
    EXPECT_EQ(VisibleWindowsOf(telvor.Pid()), std::vector<HWND>{dialog})
        << "the error dialog must be the program's only window";

    const DialogContent content = ReadDialog(dialog);
    EXPECT_EQ(content.buttons, std::vector<std::string>{"OK"});
    ASSERT_EQ(content.texts.size(), 1u);
    const std::string& text = content.texts.front();
    const std::string start =
        "Sie benötigen eine ISDN-Karte mit CAPI 2.0, um Telvor auszuführen. Falls dieser Fehler "
        "trotz installierter CAPI 2.0 auftritt, wenden Sie sich bitte an ''";
    EXPECT_EQ(text.substr(0, start.size()), start);
    const std::string codeLead = "''. Fehlercode: ";
    const std::size_t lead = text.rfind(codeLead);
    ASSERT_NE(lead, std::string::npos) << text;
    const std::string code = text.substr(lead + codeLead.size());
    EXPECT_FALSE(code.empty());
    EXPECT_TRUE(
        std::all_of(code.begin(), code.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        << "the error code must be a decimal number: '" << code << "'";
    EXPECT_NE(code, "0") << "the code is the failed load's error, not success";

    ASSERT_TRUE(PressButton(dialog, "OK"));
    ASSERT_TRUE(telvor.WaitForExit(30s)) << "the program must end once the dialog is closed";
    EXPECT_EQ(telvor.ExitCode(), 0u);
    EXPECT_TRUE(running.Messages().empty()) << "a running monitor must receive nothing";
    EXPECT_FALSE(SettingsKeyExists()) << "nothing of the program runs: no settings written";
}

TEST(StartWithoutController, ReportsTheMissingCardYetRegistersListensAndEndsInOrder) {
    MonitorCase monitor;
    const std::string simLog = CaseLog("capisim.log");
    ChildProcess& telvor = monitor.Start({}, 0, {{"CAPISIM_LOG", simLog}});
    ExpectMissingCardThenEnd(telvor);
    if (HasFatalFailure()) return;

    // The component registers and listens regardless, and is freed in order at the end:
    // listening off, then the registration released.
    const std::vector<std::string> events = CapiEvents(simLog);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0], "REGISTER 1");
    EXPECT_EQ(ListenMask(events[1]), kEveryService);
    EXPECT_EQ(ListenMask(events[2]), 0u);
    EXPECT_EQ(events[3], "RELEASE 1");
    EXPECT_EQ(ReadSetting("Settings", "Version"), "2.00") << "the end runs as on every path";
}

// Under Linux, Wine's own capi2032 forwards to libcapi20 (docs/linux.md). Without a CAPI
// device the library loads but finds no controller: the program says the card is missing
// and ends, neither crashing nor hanging. Wine takes the DLL overrides of a program it starts
// from the machine's environment, not from the Windows environment block, so the build
// registers this case with WINEDLLOVERRIDES=capi2032=b (cmake/Windows.cmake).
TEST(StartWithWinesOwnCapi, WithoutACapiDeviceReportsTheMissingCardAndEnds) {
    const char* overrides = std::getenv("WINEDLLOVERRIDES");
    ASSERT_NE(overrides, nullptr);
    ASSERT_NE(std::string(overrides).find("capi2032=b"), std::string::npos)
        << "the case must run with Wine's own capi2032: " << overrides;
    const std::string folder = MakeCaseFolder("WineCapi");
    CopyFromBin(folder, {"Telvor.exe"});
    WriteSetting("Settings", "Version", "2.00");  // a returning user: no greeting
    ChildProcess telvor(
        LaunchOptions(JoinPath(folder, "Telvor.exe")).In(folder).OutputAs("telvor"));
    ExpectMissingCardThenEnd(telvor);
}

TEST(SecondStart, WithIconHandsOverShowsNothingAndEnds) {
    MonitorCase monitor;
    const std::string simLog = CaseLog("capisim.log");
    ASSERT_TRUE(StartListeningWithLog(monitor, simLog));
    const HWND main = monitor.MainWindow();
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);

    const RunResult second = RunProgram(LaunchOptions(monitor.File("Telvor.exe"))
                                            .In(monitor.Folder())
                                            .Env("CAPISIM_LOG", simLog)
                                            .OutputAs("second"),
                                        30s);
    EXPECT_EQ(second.exitCode, 0u);

    // The second start waited for the first to handle 0x402: whatever it showed is visible now.
    EXPECT_FALSE(IsWindowVisible(configure)) << "with its icon the monitor shows nothing";
    EXPECT_TRUE(monitor.Process().IsRunning());
    EXPECT_TRUE(monitor.Send(kSetDisplayMessage, 2)) << "the first monitor must still answer";
    EXPECT_EQ(monitor.MainWindow(1s), main);
    EXPECT_EQ(MainWindowCount(), 1u);
    const std::vector<std::string> events = CapiEvents(simLog);
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const std::string& e) { return e.rfind("REGISTER ", 0) == 0; }),
              1)
        << "only the first monitor registers";

    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

TEST(SecondStart, WithoutIconOpensTheRunningMonitorsConfigurationDialog) {
    MonitorCase monitor;
    ASSERT_TRUE(monitor.StartListening({"/noicon"}));
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);
    EXPECT_FALSE(IsWindowVisible(configure));

    const RunResult second = RunProgram(
        LaunchOptions(monitor.File("Telvor.exe")).In(monitor.Folder()).OutputAs("second"), 30s);
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_EQ(WaitForVisibleWindow("#32770", "Telvor einrichten", 5s), configure);
    EXPECT_TRUE(monitor.Process().IsRunning());
    EXPECT_EQ(MainWindowCount(), 1u);

    EXPECT_TRUE(monitor.Stop()) << "with the dialog open and unchanged the monitor ends at once";
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

TEST(SecondStart, AWindowWithOnlyTheClassOrOnlyTheTitleIsNoMonitor) {
    const FakeWindow classOnly("TTelvorMainForm", "Telvor");
    const FakeWindow titleOnly("TForm", "TelvorServer");
    MonitorCase monitor;
    ASSERT_TRUE(monitor.StartListening()) << "the new start must run as a monitor";
    DWORD owner = 0;
    GetWindowThreadProcessId(monitor.MainWindow(), &owner);
    EXPECT_EQ(owner, monitor.Process().Pid());
    EXPECT_TRUE(classOnly.Messages().empty());
    EXPECT_TRUE(titleOnly.Messages().empty());
    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

TEST(OrderlyEnd, StoresTheVersionAndSwitchesNetworkForwardingOffOnNt) {
    WriteSetting("Settings", "EnableNetDDE", "1");
    MonitorCase monitor;
    const std::string simLog = CaseLog("capisim.log");
    ASSERT_TRUE(StartListeningWithLog(monitor, simLog));
    const DWORD pid = monitor.Process().Pid();

    ASSERT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
    EXPECT_TRUE(VisibleWindowsOf(pid).empty());
    EXPECT_EQ(MainWindowCount(), 0u);
    EXPECT_EQ(ReadSetting("Settings", "Version"), "2.00");
    EXPECT_EQ(ReadSetting("Settings", "EnableNetDDE"), "0");
    const std::vector<std::string> events = CapiEvents(simLog);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(ListenMask(events[events.size() - 2]), 0u) << "listening ends first";
    EXPECT_EQ(events.back(), "RELEASE 1") << "then the registration is released";
}

TEST(OrderlyEnd, KeepsTheStoredNetworkSwitchOnWindows98) {
    SetWindowsVersionFor("Telvor.exe", "win98");
    MonitorCase monitor;
    ASSERT_TRUE(monitor.StartListening());
    ASSERT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
    EXPECT_EQ(ReadSetting("Settings", "Version"), "2.00");
    EXPECT_EQ(ReadSetting("Settings", "EnableNetDDE"), "1") << "the default is kept";

    WriteSetting("Settings", "EnableNetDDE", "0");
    ASSERT_TRUE(monitor.StartListening());
    ASSERT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
    EXPECT_EQ(ReadSetting("Settings", "EnableNetDDE"), "0") << "a stored switch-off is kept";
}

// Log-off or shut-down: Windows asks, then announces the end, and may end the process as soon
// as the announcement is answered. Nothing may be asked (not even about the configuration
// dialog's unapplied changes, which are dropped), and the orderly end is done by then.
TEST(OrderlyEnd, TheEndOfTheWindowsSessionEndsInOrderWithoutAskingAnything) {
    WriteSetting("Settings", "EnableNetDDE", "1");
    MonitorCase monitor;
    const std::string simLog = CaseLog("capisim.log");
    ASSERT_TRUE(StartListeningWithLog(monitor, simLog));
    const DWORD pid = monitor.Process().Pid();
    const HWND main = monitor.MainWindow();
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, 100, 0));  // "Öffnen"
    ASSERT_EQ(WaitForVisibleWindow("#32770", "Telvor einrichten", 10s), configure);
    const std::optional<ChildControl> apply = FindChildByText(configure, "Ü&bernehmen");
    ASSERT_TRUE(apply);
    EnableWindow(apply->window, TRUE);  // as an edit would: changes not yet applied

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    20000, &answer))
        << "the question must be answered at once";
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the session's end must not be refused";
    EXPECT_EQ(WaitForVisibleWindow("#32770", "Warnung", 1s), nullptr);
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                    20000, &answer));

    // Everything is done before the answer: the process could be gone right after it.
    EXPECT_EQ(ReadSetting("Settings", "Version"), "2.00");
    EXPECT_EQ(ReadSetting("Settings", "EnableNetDDE"), "0");
    const std::vector<std::string> events = CapiEvents(simLog);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(ListenMask(events[events.size() - 2]), 0u) << "listening ends first";
    EXPECT_EQ(events.back(), "RELEASE 1") << "then the registration is released";

    // Left alone, the program ends on its own, without a further word to CAPI.
    ASSERT_TRUE(monitor.Process().WaitForExit(30s));
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
    EXPECT_TRUE(VisibleWindowsOf(pid).empty());
    EXPECT_EQ(MainWindowCount(), 0u);
    EXPECT_EQ(CapiEvents(simLog), events);
}

// The town label of a caller window: the label right after "Aus Ortsnetz:".
std::string TownOf(HWND callerWindow) {
    const std::vector<ChildControl> controls = ChildControls(callerWindow);
    for (std::size_t i = 0; i + 1 < controls.size(); ++i)
        if (controls[i].text == "Aus Ortsnetz:") return controls[i + 1].text;
    return "(no town label)";
}

// A monitor whose area-code file is broken must still start completely: it listens, reads
// its settings (the protocol file's name set here), and shows calls without towns.
class BrokenAreaCodes : public ::testing::Test {
  protected:
    void SetUp() override {
        SeedMsn(0, "4711", "Büro");
        WriteSetting("Settings", "DMWhenMessage", "3");
        WriteSetting("Settings", "LOGFile", protocol);
    }

    void ExpectStartsAndShowsUnknownTown() {
        ASSERT_TRUE(monitor.StartListening());
        ASSERT_TRUE(monitor.Ring(0x101, 1, "4711", "711123456"));  // Stuttgart, were it known
        const std::vector<HWND> callers = WaitForCallerWindowsByPosition(1);
        ASSERT_FALSE(callers.empty()) << "the call must be shown";
        const HWND caller = callers.front();
        EXPECT_EQ(TownOf(caller), "unbekannt");
        EXPECT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x101));
        EXPECT_EQ(ReadTextLines(protocol).size(), 1u)
            << "the call is recorded where the settings say";
        EXPECT_TRUE(monitor.Stop());
        EXPECT_EQ(monitor.Process().ExitCode(), 0u);
        EXPECT_EQ(ReadSetting("Settings", "Version"), "2.00");
    }

    const std::string protocol = JoinPath(CaseDir(), "Anrufe.log");
    MonitorCase monitor;
};

TEST_F(BrokenAreaCodes, AMissingFileDoesNotStopTheStart) {
    ASSERT_TRUE(DeleteFileA(monitor.File("AreaCode.txt").c_str()));
    ExpectStartsAndShowsUnknownTown();
}

TEST_F(BrokenAreaCodes, AFileThatCannotBeReadDoesNotStopTheStart) {
    // Held open without sharing: the monitor's open fails as on a locked or forbidden file.
    const KernelHandle locked(CreateFileA(monitor.File("AreaCode.txt").c_str(), GENERIC_READ, 0,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);
    ExpectStartsAndShowsUnknownTown();
}

}  // namespace
}  // namespace telvor::e2e

namespace telvor::e2e {
namespace {

// A legacy setting that is not text stops the migration with the store's error box; the
// start goes on, so the icon still has its menu and "&Beenden" ends the program.
TEST(StartWithBrokenLegacyData, ShowsTheStoresErrorAndTheIconStillOffersItsMenu) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Orbek\\Telvor\\Settings", 0, nullptr,
                              0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 7;
    RegSetValueExA(key, "Alert", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    RegCloseKey(key);
    MonitorCase monitor;
    ASSERT_TRUE(monitor.StartListening());
    HWND error = nullptr;
    ASSERT_TRUE(PollUntil(20s, [&] {
        for (HWND d : TopLevelWindows(
                 {.className = "#32770", .visibleOnly = true, .process = monitor.Process().Pid()}))
            for (const ChildControl& c : ChildControls(d))
                if (c.text.find("Alert") != std::string::npos) error = d;
        return error != nullptr;
    })) << "no error box naming the value";
    ASSERT_TRUE(PressButton(error, "OK"));
    ASSERT_TRUE(WaitForWindowGone(error, 10s));

    const HWND main = monitor.MainWindow();
    ASSERT_TRUE(PostMessageA(main, kTrayIconMessage, 1, 0x205 /* WM_RBUTTONUP */));
    const HWND menu = WaitForVisibleWindow("#32768", "", 10s);
    ASSERT_NE(menu, nullptr) << "the icon has no menu";
    PressKeyIn(menu, VK_ESCAPE);
    ASSERT_TRUE(WaitForWindowHidden(menu, 10s));
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, 105 /* "&Beenden" */, 0));
    ASSERT_TRUE(monitor.Process().WaitForExit(30s));
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

}  // namespace
}  // namespace telvor::e2e
