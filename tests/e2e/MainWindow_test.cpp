// The monitor's hidden main window driven as the shell, a second start and the icon menu
// drive it: the NOICON switch, the about box blocking the icon, and the menu commands.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "CapiSimClient.h"
#include "support/CallerWindowView.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/MonitorCase.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

constexpr LPARAM kLeftDoubleClick = 0x203;  // WM_LBUTTONDBLCLK, as the shell reports it
constexpr LPARAM kRightButtonUp = 0x205;    // WM_RBUTTONUP

// Menu commands of the icon's popup menu.
constexpr WPARAM kOpenCommand = 100;           // "Ö&ffnen"
constexpr WPARAM kToFrontCommand = 101;        // "Anruferfenster in &Vordergrund"
constexpr WPARAM kDisplaySwitchCommand = 102;  // "Anrufe vorübergehend nicht &anzeigen"
constexpr WPARAM kProtocolCommand = 103;       // "&Protokolldatei anzeigen"
constexpr WPARAM kAboutCommand = 104;          // "&Info zu Telvor..."
constexpr WPARAM kEndCommand = 105;            // "&Beenden"

// The simulator's event lines, for the message of a failed expectation.
std::string EventsText(MonitorCase& monitor) {
    std::string text;
    for (const std::string& line : monitor.Sim().Events()) text += line + "\n";
    return text;
}

// Starts the monitor with `args`, sends it what a second start sends, and tells whether its
// configuration dialog became visible; the monitor is ended again.
bool SecondStartOpensDialog(MonitorCase& monitor, const std::string& arg) {
    SCOPED_TRACE("Telvor " + arg);
    if (!monitor.StartListening({arg})) return false;
    const HWND configure = ConfigureDialog();
    EXPECT_NE(configure, nullptr);
    EXPECT_FALSE(IsWindowVisible(configure)) << "the dialog starts hidden";
    EXPECT_TRUE(monitor.Send(kShowConfigMessage));
    // Sent, not posted: the monitor has handled it when Send returns.
    const bool shown = configure && IsWindowVisible(configure);
    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
    return shown;
}

TEST(NoIconSwitch, HyphenOrSlashWithTheWordInAnyCaseRunsWithoutIcon) {
    MonitorCase monitor;
    EXPECT_TRUE(SecondStartOpensDialog(monitor, "-noicon"));
    EXPECT_TRUE(SecondStartOpensDialog(monitor, "/NoIcon"));
}

TEST(NoIconSwitch, OtherSpellingsKeepTheIcon) {
    MonitorCase monitor;
    EXPECT_FALSE(SecondStartOpensDialog(monitor, "-n"));
    EXPECT_FALSE(SecondStartOpensDialog(monitor, "NOICON"));
    EXPECT_FALSE(SecondStartOpensDialog(monitor, "--noicon"));
}

// Without icon a second start would open the dialog, so 0x402 shows whether it is blocked.
TEST(AboutBox, BlocksTheIconAndSecondStartsUntilAKeyOrClickClosesIt) {
    MonitorCase monitor;
    ASSERT_TRUE(monitor.StartListening({"/noicon"}));
    const HWND main = monitor.MainWindow();
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);

    // Closed by a key.
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, kAboutCommand, 0));
    HWND about = WaitForVisibleWindow("#32770", "Info zu Telvor", 10s);
    ASSERT_NE(about, nullptr) << "the about box did not open";
    EXPECT_TRUE(monitor.Send(kTrayIconMessage, 1, kLeftDoubleClick));
    EXPECT_TRUE(monitor.Send(kShowConfigMessage));
    EXPECT_FALSE(IsWindowVisible(configure)) << "nothing opens while the about box is open";
    PressKeyIn(about, 'X');
    EXPECT_TRUE(WaitForWindowHidden(about, 10s)) << "a key closes the about box";
    EXPECT_TRUE(monitor.Send(kTrayIconMessage, 1, kLeftDoubleClick));
    EXPECT_EQ(WaitForVisibleWindow("#32770", "Telvor einrichten", 5s), configure)
        << "a double click opens the dialog again";

    // Closed by a click, with the dialog hidden again first.
    ASSERT_TRUE(PressButton(configure, "Abbrechen"));
    ASSERT_TRUE(WaitForWindowHidden(configure, 10s));
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, kAboutCommand, 0));
    about = WaitForVisibleWindow("#32770", "Info zu Telvor", 10s);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(monitor.Send(kShowConfigMessage));
    EXPECT_FALSE(IsWindowVisible(configure));
    ClickInside(about);
    EXPECT_TRUE(WaitForWindowHidden(about, 10s)) << "a click closes the about box";
    EXPECT_TRUE(monitor.Send(kShowConfigMessage));
    EXPECT_EQ(WaitForVisibleWindow("#32770", "Telvor einrichten", 5s), configure);

    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

TEST(IconMenu, OpensOnTheRightButtonSwitchesTheDisplayOpensTheDialogAndEnds) {
    SeedMsn(0, "4711", "Büro");
    WriteSetting("Settings", "DMWhenMessage", "3");
    WriteSetting("Settings", "LOGFile", "C:\\fehlt\\Telvor.log");  // never written
    MonitorCase monitor;
    ASSERT_TRUE(monitor.StartListening());
    const HWND main = monitor.MainWindow();
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);

    // The right button opens the icon's menu at the cursor; Escape closes it again.
    ASSERT_TRUE(PostMessageA(main, kTrayIconMessage, 1, kRightButtonUp));
    const HWND menu = WaitForVisibleWindow("#32768", "", 10s);
    ASSERT_NE(menu, nullptr) << "the icon's menu did not open";
    DWORD menuOwner = 0;
    GetWindowThreadProcessId(menu, &menuOwner);
    EXPECT_EQ(menuOwner, monitor.Process().Pid());
    PressKeyIn(menu, VK_ESCAPE);
    EXPECT_TRUE(WaitForWindowHidden(menu, 10s)) << "Escape closes the menu";

    // The display switch: off, a call is ignored; on again, the next call is shown. Sent, not
    // posted: the call's hand-over is a sent message too and would overtake a posted command.
    ASSERT_TRUE(monitor.Send(WM_COMMAND, kDisplaySwitchCommand));
    ASSERT_TRUE(monitor.Ring(0x101, 1, "4711", "30123456"));
    const auto ignored = monitor.WaitForPut(capisim::kConnect, capisim::kResp, 0x101);
    ASSERT_TRUE(ignored) << EventsText(monitor);
    EXPECT_EQ(capisim::Word(*ignored, 12), 1u);
    EXPECT_TRUE(CallerWindowsByPosition().empty());
    ASSERT_TRUE(monitor.Send(WM_COMMAND, kDisplaySwitchCommand));
    ASSERT_TRUE(monitor.Ring(0x102, 1, "4711", "30123456"));
    EXPECT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x102));
    const std::vector<HWND> shown = WaitForCallerWindowsByPosition(1);
    ASSERT_FALSE(shown.empty());
    // "Anruferfenster in &Vordergrund" shows a caller window that was hidden.
    ShowWindow(shown[0], SW_HIDE);
    ASSERT_TRUE(WaitForWindowHidden(shown[0], 10s));
    ASSERT_TRUE(monitor.Send(WM_COMMAND, kToFrontCommand));
    EXPECT_TRUE(PollUntil(10s, [&] { return IsWindowVisible(shown[0]) != FALSE; }));
    // "&Protokolldatei anzeigen" without a protocol file: the program's error.
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, kProtocolCommand, 0));
    const HWND missing = WaitForVisibleWindow("#32770", "Fehler", 10s);
    ASSERT_NE(missing, nullptr) << "no message for the missing protocol file";
    EXPECT_TRUE(FindChildByText(missing, "Die Protokolldatei wurde nicht gefunden."));
    ASSERT_TRUE(PressButton(missing, "OK"));
    ASSERT_TRUE(WaitForWindowGone(missing, 10s));

    // "Öffnen", then "Beenden" with the dialog open and unchanged: the program ends at once.
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, kOpenCommand, 0));
    EXPECT_EQ(WaitForVisibleWindow("#32770", "Telvor einrichten", 10s), configure);
    ASSERT_TRUE(PostMessageA(main, WM_COMMAND, kEndCommand, 0));
    ASSERT_TRUE(monitor.Process().WaitForExit(30s));
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
    EXPECT_EQ(ReadSetting("Settings", "Version"), "2.00");
}

}  // namespace
}  // namespace telvor::e2e
