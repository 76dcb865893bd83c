// TELVACT against a running monitor: the display of calls switched off and on again, seen
// through the calls that follow — their caller windows, their CAPI answers, the protocol file.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "CapiSimClient.h"
#include "support/CallerWindowView.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/ChildProcess.h"
#include "support/MonitorCase.h"
#include "support/TextLines.h"

namespace telvor::e2e {
namespace {

constexpr std::size_t kRejectOffset = 12;  // CONNECT_RESP: header, PLCI, then Reject

class ActivatorAgainstMonitor : public ::testing::Test {
  protected:
    void SetUp() override {
        SeedMsn(0, "4711", "Büro");
        // No messaging program here: no call may wait for one.
        WriteSetting("Settings", "DMWhenMessage", "3");
        ASSERT_TRUE(monitor.StartListening());
    }

    void Activate(const std::string& arg) {
        const RunResult run = RunProgram(LaunchOptions(BinFile("TELVACT.exe"), {arg}), 30s);
        EXPECT_EQ(run.exitCode, 0u) << "TELVACT " << arg;
        EXPECT_EQ(run.out, "") << "TELVACT " << arg;
    }

    std::size_t ProtocolLines() { return ReadTextLines(monitor.File("Telvor.log")).size(); }

    // A call while the display is off: no window, answered with "ignore", still recorded.
    void ExpectIgnoredButRecorded(std::uint32_t plci) {
        SCOPED_TRACE("call " + std::to_string(plci));
        const std::size_t recorded = ProtocolLines();
        const std::size_t windows = CallerWindowsByPosition().size();
        ASSERT_TRUE(monitor.Ring(plci, 1, "4711", "30123456"));
        const auto response = monitor.WaitForPut(capisim::kConnect, capisim::kResp, plci);
        ASSERT_TRUE(response) << "the call must be answered";
        EXPECT_EQ(capisim::Word(*response, kRejectOffset), 1u) << "ignored, left to the line";
        // The window would have been shown before the answer was put.
        EXPECT_EQ(CallerWindowsByPosition().size(), windows);
        for (const capisim::Bytes& alert : monitor.Puts(capisim::kAlert, capisim::kReq))
            EXPECT_NE(capisim::Plci(alert), plci) << "the call must not be held";
        EXPECT_EQ(ProtocolLines(), recorded + 1);
    }

    // A call while the display is on: its window appears and the call is held for it.
    void ExpectShown(std::uint32_t plci, std::size_t windowsThen) {
        SCOPED_TRACE("call " + std::to_string(plci));
        const std::size_t recorded = ProtocolLines();
        ASSERT_TRUE(monitor.Ring(plci, 1, "4711", "30123456"));
        EXPECT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, plci));
        EXPECT_FALSE(WaitForCallerWindowsByPosition(windowsThen).empty());
        EXPECT_EQ(CallerWindowsByPosition().size(), windowsThen);
        EXPECT_EQ(ProtocolLines(), recorded + 1);
    }

    MonitorCase monitor;
};

TEST_F(ActivatorAgainstMonitor, SwitchesTheDisplayOffAndOnOnlyWhenTheStateChanges) {
    // A one-character argument only prints the usage text: the display stays on.
    const RunResult usage = RunProgram(LaunchOptions(BinFile("TELVACT.exe"), {"D"}), 30s);
    EXPECT_EQ(usage.exitCode, 0u);
    EXPECT_NE(usage.out, "");
    ExpectShown(0x100, 1);

    Activate("/D");
    Activate("/d");  // asks for the state in force: stays off
    ExpectIgnoredButRecorded(0x101);

    ASSERT_TRUE(monitor.Send(kSetDisplayMessage, 2));  // neither on nor off
    ExpectIgnoredButRecorded(0x102);

    Activate("/A");
    ExpectShown(0x103, 2);

    ASSERT_TRUE(monitor.Send(kSetDisplayMessage, 2));
    Activate("xA");
    ExpectShown(0x104, 3);

    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

}  // namespace
}  // namespace telvor::e2e
