// TELVACT against stand-ins of the monitor's and the network client's main windows.
#include <windows.h>

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/CaseFiles.h"
#include "support/ChildProcess.h"
#include "support/FakeWindow.h"

namespace telvor::e2e {
namespace {

constexpr UINT kSetDisplay = 0x403;

RunResult Activate(std::vector<std::string> args) {
    return RunProgram(LaunchOptions(BinFile("TELVACT.exe"), std::move(args)), 60s);
}

// The usage text as a German console shows it: written here in UTF-8 (u8 literals are not
// touched by the source's ANSI charset) and converted to code page 850 by the system.
std::string ExpectedUsage() {
    const std::u8string_view lines[] = {
        u8"TelvorActivator 2.00",
        u8"",
        u8"",
        u8"Aufruf:  TELVACT /A | /D",
        u8"",
        u8"         /A      Aktiviert die Anzeige von Anrufen in Telvor",
        u8"                 und TelvorClient",
        u8"         /D      Deaktiviert die Anzeige von Anrufen in Telvor",
        u8"                 und TelvorClient",
        u8"",
        u8"Sie können auch die Anzeige in Telvor und TelvorClient",
        u8"aktivieren und deaktivieren, indem Sie mit der rechten Maustaste",
        u8"auf das Icon in der Taskleiste klicken und den entsprechenden Punkt",
        u8"aus dem Menü auswählen.",
        u8"",
        u8"Der Aufruf von TELVACT ist natürlich auch aus Batch-Dateien möglich,",
        u8"wenn Sie z. B. ein MS-DOS-Programm öffnen.",
    };
    std::u8string utf8;
    for (auto line : lines) (utf8 += line) += u8"\r\n";
    const auto* in = reinterpret_cast<const char*>(utf8.data());
    const int inLength = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(inLength), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, in, inLength, wide.data(), inLength)));
    std::string oem(wide.size(), '\0');
    oem.resize(static_cast<std::size_t>(
        WideCharToMultiByte(850, 0, wide.data(), static_cast<int>(wide.size()), oem.data(),
                            static_cast<int>(oem.size()), nullptr, nullptr)));
    return oem;
}

// Both programs "running": the monitor's and the client's windows, as TELVACT looks for them.
class ActivatorWithBothWindows : public ::testing::Test {
  protected:
    FakeWindow monitor{"TTelvorMainForm", "TelvorServer"};
    FakeWindow client{"TTelvClientMainForm", "TelvorClient"};

    // One run must send exactly `state` to the monitor, then to the client, and print nothing.
    void ExpectSwitched(const std::string& arg, WPARAM state) {
        SCOPED_TRACE("TELVACT " + arg);
        const auto before = monitor.Messages().size();
        const RunResult run = Activate({arg});
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_EQ(run.out, "");
        // SendMessage is synchronous: both messages are in before TELVACT ends.
        const auto toMonitor = monitor.Messages();
        const auto toClient = client.Messages();
        ASSERT_EQ(toMonitor.size(), before + 1);
        ASSERT_EQ(toClient.size(), before + 1);
        const auto& m = toMonitor.back();
        const auto& c = toClient.back();
        EXPECT_EQ(m.message, kSetDisplay);
        EXPECT_EQ(m.wParam, state);
        EXPECT_EQ(m.lParam, 0);
        EXPECT_EQ(c.message, kSetDisplay);
        EXPECT_EQ(c.wParam, state);
        EXPECT_EQ(c.lParam, 0);
        EXPECT_LT(m.sequence, c.sequence) << "the monitor is addressed before the client";
    }

    void ExpectUsage(const std::vector<std::string>& args) {
        SCOPED_TRACE(args.empty() ? std::string("TELVACT") : "TELVACT " + args.front());
        const RunResult run = Activate(args);
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_EQ(run.out, ExpectedUsage());
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(monitor.Messages().empty());
        EXPECT_TRUE(client.Messages().empty());
    }
};

TEST_F(ActivatorWithBothWindows, SlashDSwitchesBothOff) {
    ExpectSwitched("/D", 0);
}

TEST_F(ActivatorWithBothWindows, OnlyTheSecondCharacterCounts) {
    ExpectSwitched("/d", 0);
    ExpectSwitched("xA", 1);
    ExpectSwitched("/Dx", 0);
    ExpectSwitched("-a", 1);
}

TEST_F(ActivatorWithBothWindows, UsageWithoutArgumentSendsNothing) {
    ExpectUsage({});
}

TEST_F(ActivatorWithBothWindows, UsageForShortOrUnknownArgumentsSendsNothing) {
    ExpectUsage({"D"});
    ExpectUsage({"/X"});
    ExpectUsage({""});
    ExpectUsage({"/?", "/A"});
}

TEST(Activator, WithNeitherProgramRunningPrintsNothingAndEndsWithZero) {
    for (const char* arg : {"/A", "/D"}) {
        SCOPED_TRACE(arg);
        const RunResult run = Activate({arg});
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
    }
}

TEST(Activator, AddressesWhicheverProgramIsRunning) {
    {
        FakeWindow client("TTelvClientMainForm", "TelvorClient");
        EXPECT_EQ(Activate({"/A"}).exitCode, 0u);
        ASSERT_EQ(client.Messages().size(), 1u);
        EXPECT_EQ(client.Messages()[0].wParam, 1u);
    }
    FakeWindow monitor("TTelvorMainForm", "TelvorServer");
    EXPECT_EQ(Activate({"/D"}).exitCode, 0u);
    ASSERT_EQ(monitor.Messages().size(), 1u);
    EXPECT_EQ(monitor.Messages()[0].wParam, 0u);
}

TEST(Activator, NeedsBothClassAndTitle) {
    FakeWindow classOnly("TTelvorMainForm", "Telvor");
    FakeWindow titleOnly("TForm", "TelvorServer");
    FakeWindow clientClassOnly("TTelvClientMainForm", "");
    FakeWindow clientTitleOnly("TTelvorMainForm", "TelvorClient");
    EXPECT_EQ(Activate({"/D"}).exitCode, 0u);
    for (const FakeWindow* w : {&classOnly, &titleOnly, &clientClassOnly, &clientTitleOnly}) {
        EXPECT_TRUE(w->Messages().empty());
    }
}

}  // namespace
}  // namespace telvor::e2e
