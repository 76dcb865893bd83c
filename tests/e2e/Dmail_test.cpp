// The dmail pro notification as the messaging program receives it, and a monitor that goes on
// when the program is missing.
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "support/CallScenario.h"
#include "support/CallerWindowView.h"
#include "support/CaseRegistry.h"
#include "support/FakeDdeServer.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {
namespace {

std::string TimeOfNewestWindow(std::size_t windows) {
    const std::vector<HWND> found = WaitForCallerWindowsByPosition(windows);
    if (found.size() != windows) return {};
    const auto view = ReadCallerWindow(found.back());
    const auto when = view ? SplitDateTime(view->dateTime) : std::nullopt;
    return when ? when->time : std::string();
}

TEST(Dmail, EveryCallIsPokedToTheMessagingProgramByteForByte) {
    FakeDmailServer dmail;
    WriteSetting("Settings", "DMWhenMessage", "0");
    WriteSetting("Settings", "DMReceiver", "0171 5551234");
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());

    ASSERT_TRUE(monitor.Ring(0x101, 1, "4711", "711123456"));
    ASSERT_TRUE(dmail.WaitForPokes(1));
    // The poke comes before the CAPI answer.
    ASSERT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x101));
    std::string time = TimeOfNewestWindow(1);
    ASSERT_FALSE(time.empty());
    using namespace std::string_literals;
    EXPECT_EQ(
        dmail.Pokes()[0],
        "0171 5551234\r\nAnruf von Hans Muster (0711 123456) für Büro um "s + time + "\r\n\0"s);

    // Without a number (mode 0 sends for every call): &NUMBER is empty.
    ASSERT_TRUE(monitor.RingWithoutNumber(0x102, 1, "4711"));
    ASSERT_TRUE(dmail.WaitForPokes(2));
    ASSERT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x102));
    time = TimeOfNewestWindow(2);
    ASSERT_FALSE(time.empty());
    EXPECT_EQ(dmail.Pokes()[1],
              "0171 5551234\r\nAnruf von unbekannt () für Büro um "s + time + "\r\n\0"s);
    EXPECT_EQ(dmail.Pokes().size(), 2u);
}

TEST(Dmail, MissingProgramDelaysTheAnswerByItsMinuteWithoutAnyMessage) {
    WriteSetting("Settings", "DMWhenMessage", "0");
    WriteSetting("Settings", "DMPath", "C:\\Programme\\nirgends\\dmail.exe");
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());
    const DWORD pid = monitor.Process().Pid();
    HWND main = monitor.MainWindow();
    ASSERT_NE(main, nullptr);

    ASSERT_TRUE(monitor.Ring(0x201, 1, "4711", "711123456"));
    // The window is shown before the notification runs.
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u);
    const auto shown = std::chrono::steady_clock::now();

    // While it waits for the program it keeps serving its windows and shows no message.
    std::optional<capisim::Bytes> alert;
    const auto bound = shown + 150s;
    while (!alert && std::chrono::steady_clock::now() < bound) {
        ASSERT_EQ(FindMessageDialogOf(pid), nullptr) << "a message box appeared";
        DWORD_PTR result = 0;
        EXPECT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result));
        alert = monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x201, 2s);
    }
    ASSERT_TRUE(alert) << "the call was never answered";
    const auto waited = std::chrono::steady_clock::now() - shown;
    EXPECT_GE(waited, 55s) << "the program was not waited for";
    EXPECT_EQ(FindMessageDialogOf(pid), nullptr);

    // The call goes on as usual.
    ASSERT_TRUE(monitor.HangUp(0x201));
    ASSERT_TRUE(monitor.WaitForPut(capisim::kDisconnect, capisim::kResp, 0x201));
    EXPECT_TRUE(WaitForTitleSuffix(windows[0], " - getrennt"));
    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

// A messaging program that takes the conversation and then never answers costs each call the
// poke's time-out of 10 s, not the minute of a program that has to be started; calls that
// queued up behind are shown and recorded once it has passed.
TEST(Dmail, AProgramThatNeverAnswersCostsEachCallItsPokeTimeOutAndCallsGoOn) {
    FakeDmailServer dmail(FakeDmailServer::Mode::Hang);
    WriteSetting("Settings", "DMWhenMessage", "0");
    // Were the stuck program taken for a missing one, its start would fail and cost a minute.
    WriteSetting("Settings", "DMPath", "C:\\Programme\\nirgends\\dmail.exe");
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());

    ASSERT_TRUE(monitor.Ring(0x301, 1, "4711", "711123456"));
    ASSERT_TRUE(monitor.Ring(0x302, 1, "4712", "30123456"));  // waits behind the first
    ASSERT_EQ(WaitForCallerWindowsByPosition(1).size(), 1u);
    const auto firstShown = std::chrono::steady_clock::now();

    const auto firstAnswer = monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x301, 60s);
    ASSERT_TRUE(firstAnswer) << "the first call was never answered";
    const auto firstBound = std::chrono::steady_clock::now() - firstShown;
    EXPECT_GE(firstBound, 9s) << "the poke was not waited for";
    EXPECT_LT(firstBound, 45s) << "a stuck program must cost the poke's time-out, not the "
                                  "minute of a program start";
    EXPECT_EQ(dmail.HeldPokes(), 1u);

    // The second call after the first one's bound: shown, answered, recorded.
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(2, 30s);
    EXPECT_EQ(windows.size(), 2u) << "the second call was not shown";
    EXPECT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x302, 60s))
        << "the second call was never answered";
    EXPECT_EQ(dmail.HeldPokes(), 2u);
    EXPECT_EQ(dmail.Connects(), 2u);
    const auto lines = ProtocolLines(monitor);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 2u);
    const auto calls = CallListRecords(monitor);
    ASSERT_TRUE(calls);
    EXPECT_EQ(calls->size(), 2u);

    EXPECT_TRUE(monitor.Stop(60s));
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

}  // namespace
}  // namespace telvor::e2e
