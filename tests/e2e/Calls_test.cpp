// Calls through the line simulator into a running monitor: what it answers on the line, what
// the caller window says, and what it records (protocol file, call list, last call's text).
#include <algorithm>
#include <gtest/gtest.h>
#include <string_view>

#include "support/CallScenario.h"
#include "support/CallerWindowView.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/ChildProcess.h"
#include "support/ExpectedPuts.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

using capisim::Bytes;

constexpr char kPhoneService[] = "Telefongespräch oder Analog";

// Everything the monitor put for one call, in order.
std::vector<Bytes> PutsFor(MonitorCase& monitor, std::uint32_t plci) {
    std::vector<Bytes> found;
    for (Bytes& m : monitor.Sim().PutLog())
        if (capisim::Command(m) != capisim::kListen && capisim::Plci(m) == plci)
            found.push_back(std::move(m));
    return found;
}

std::vector<std::pair<std::uint8_t, std::uint8_t>> Kinds(const std::vector<Bytes>& messages) {
    std::vector<std::pair<std::uint8_t, std::uint8_t>> kinds;
    for (const Bytes& m : messages) kinds.emplace_back(capisim::Command(m), capisim::Subcommand(m));
    return kinds;
}

std::string ExpectedProtocolLine(const DateAndTime& when, const std::string& rest) {
    return when.date + ", " + when.time + ", " + rest;
}

class CallsOnTheLine : public ::testing::Test {
  protected:
    void Start() {
        SeedStandardLine(monitor);
        ASSERT_TRUE(monitor.StartListening());
        appl = CurrentApplId(monitor);
        ASSERT_NE(appl, 0);
    }
    // A call from Hans Muster (0711 123456, national) to `msn` with our own message number.
    bool RingHans(std::uint32_t plci, std::uint16_t messageNumber, std::string_view msn = "4711") {
        return monitor.Sim().OfferRaw(
            capisim::ConnectInd(appl, messageNumber, plci, 1, capisim::NumberStruct(0x81, msn),
                                capisim::CallingNumberStruct(0x21, 0x80, "711123456")));
    }
    void RunActivator(const char* option) {
        const RunResult run = RunProgram(LaunchOptions(BinFile("TELVACT.exe"), {option}), 60s);
        EXPECT_EQ(run.exitCode, 0u) << option;
    }

    MonitorCase monitor;
    std::uint16_t appl = 0;
};

TEST_F(CallsOnTheLine, KnownCallerIsHeldRecordedAndMarkedWhenCleared) {
    Start();
    ASSERT_TRUE(RingHans(0x101, 0x0501));

    const auto alert = monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x101);
    ASSERT_TRUE(alert);
    EXPECT_EQ(*alert, AlertReqBytes(appl, 0x101));

    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u);
    const auto view = ReadCallerWindow(windows[0]);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->title, "Telvor - Anrufer");
    EXPECT_EQ(view->name, "Hans Muster");
    EXPECT_EQ(view->number, "(0711) 123456");
    EXPECT_EQ(view->hiddenNumber, "0711 123456");
    EXPECT_EQ(view->town, "Stuttgart");
    EXPECT_EQ(view->msn, "Büro (4711)");
    EXPECT_EQ(view->service, kPhoneService);
    EXPECT_EQ(view->status, "");
    EXPECT_FALSE(view->databaseVisible);
    EXPECT_TRUE(view->rejectEnabled);
    const auto when = SplitDateTime(view->dateTime);
    ASSERT_TRUE(when) << view->dateTime;
    ASSERT_NE(MinuteOfDay(when->time), -1) << when->time;

    // Recorded before the window was shown.
    const auto lines = ProtocolLines(monitor);
    ASSERT_TRUE(lines) << "no protocol file";
    EXPECT_EQ(*lines, std::vector<std::string>{ExpectedProtocolLine(
                          *when,
                          "Hans Muster, (0711) 123456, Telefongespräch oder Analog, "
                          "Büro (4711)")});
    const auto calls = CallListRecords(monitor);
    ASSERT_TRUE(calls) << "no call list";
    ASSERT_EQ(calls->size(), 1u);
    EXPECT_EQ((*calls)[0].name, "Hans Muster");
    EXPECT_EQ((*calls)[0].called, "Büro (4711)");
    EXPECT_FALSE((*calls)[0].notInDatabase);
    EXPECT_EQ(MinuteOfDay((*calls)[0].time), MinuteOfDay(when->time));
    EXPECT_EQ(LastCall(), "Telvor - Hans Muster für Büro um " + when->time + " Uhr");

    // Cleared elsewhere: answered with the indication's number, the window says so.
    ASSERT_TRUE(monitor.Sim().OfferRaw(capisim::DisconnectInd(appl, 0x0602, 0x101, 0x3490)));
    const auto resp = monitor.WaitForPut(capisim::kDisconnect, capisim::kResp, 0x101);
    ASSERT_TRUE(resp);
    EXPECT_EQ(*resp, DisconnectRespBytes(appl, 0x0602, 0x101));
    ASSERT_TRUE(WaitForTitleSuffix(windows[0], " - getrennt"));
    const auto cleared = ReadCallerWindow(windows[0]);
    ASSERT_TRUE(cleared);
    EXPECT_EQ(cleared->title, "Telvor - Anrufer - getrennt");
    EXPECT_EQ(cleared->status, "Anruf angenommen oder getrennt");
    EXPECT_FALSE(cleared->rejectEnabled);
    EXPECT_TRUE(IsWindowVisible(windows[0])) << "the window outlives the call";

    // Held and cleared: never answered, never cleared by the monitor itself.
    EXPECT_EQ(PutsFor(monitor, 0x101), (std::vector<Bytes>{*alert, *resp}));
    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

TEST_F(CallsOnTheLine, RejectAsksFirstAndOnlyYesAnswersThenClears) {
    Start();
    ASSERT_TRUE(RingHans(0x201, 0x0511));
    ASSERT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x201));
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u);
    const HWND caller = windows[0];
    const DWORD pid = monitor.Process().Pid();

    // "&Nein": the question goes, nothing is sent.
    ASSERT_TRUE(PressButton(caller, "&Abweisen"));
    HWND question = WaitForMessageDialogOf(pid);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(WindowText(question), "Bestätigen");
    EXPECT_TRUE(FindChildByText(question,
                                "Wollen Sie 'Hans Muster' ((0711) 123456) wirklich "
                                "abweisen?"));
    ASSERT_TRUE(PressButton(question, "&Nein"));
    ASSERT_TRUE(WaitForWindowGone(question));

    // "&Ja": CONNECT_RESP accepting the call (with its indication's number), then the clearing.
    ASSERT_TRUE(PressButton(caller, "&Abweisen"));
    question = WaitForMessageDialogOf(pid);
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(PressButton(question, "&Ja"));
    const auto disconnectResp = monitor.WaitForPut(capisim::kDisconnect, capisim::kResp, 0x201);
    ASSERT_TRUE(disconnectResp);

    const std::vector<Bytes> puts = PutsFor(monitor, 0x201);
    ASSERT_EQ(puts.size(), 4u);
    EXPECT_EQ(puts[0], AlertReqBytes(appl, 0x201));
    EXPECT_EQ(puts[1], ConnectRespBytes(appl, 0x0511, 0x201, 0));
    EXPECT_EQ(puts[2], DisconnectReqBytes(appl, 0x201));
    EXPECT_EQ(capisim::Command(puts[3]), capisim::kDisconnect);
    EXPECT_EQ(capisim::Subcommand(puts[3]), capisim::kResp);

    // The clearing reaches the window like any other; it stays open.
    ASSERT_TRUE(WaitForTitleSuffix(caller, " - getrennt"));
    const auto view = ReadCallerWindow(caller);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->status, "Anruf angenommen oder getrennt");
    EXPECT_FALSE(view->rejectEnabled);
    EXPECT_TRUE(IsWindowVisible(caller));
    EXPECT_EQ(FindMessageDialogOf(pid), nullptr);
}

TEST_F(CallsOnTheLine, DisplaySwitchedOffByTheActivatorRecordsButShowsNothing) {
    Start();
    RunActivator("/D");
    ASSERT_TRUE(RingHans(0x301, 0x0521));
    const auto resp = monitor.WaitForPut(capisim::kConnect, capisim::kResp, 0x301);
    ASSERT_TRUE(resp);
    EXPECT_EQ(*resp, ConnectRespBytes(appl, 0x0521, 0x301, 1));

    // Recorded and remembered as the last call (both happen before the answer).
    const std::optional<std::string> last = LastCall();
    ASSERT_TRUE(last);
    const std::string prefix = "Telvor - Hans Muster für Büro um ";
    ASSERT_EQ(last->rfind(prefix, 0), 0u) << *last;
    const std::string time = last->substr(prefix.size(), 5);
    EXPECT_EQ(*last, prefix + time + " Uhr");
    const auto lines = ProtocolLines(monitor);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 1u);
    const std::string tail =
        ", " + time + ", Hans Muster, (0711) 123456, Telefongespräch oder Analog, Büro (4711)";
    EXPECT_NE((*lines)[0].find(tail), std::string::npos) << (*lines)[0];
    const auto calls = CallListRecords(monitor);
    ASSERT_TRUE(calls);
    ASSERT_EQ(calls->size(), 1u);
    EXPECT_EQ((*calls)[0].name, "Hans Muster");

    // Display on again: the next call opens the only window there is.
    RunActivator("/A");
    ASSERT_TRUE(RingHans(0x302, 0x0522));
    ASSERT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x302));
    ASSERT_EQ(WaitForCallerWindowsByPosition(1).size(), 1u);
    EXPECT_EQ(CallerWindowsByPosition().size(), 1u);
    const auto kinds = Kinds(PutsFor(monitor, 0x301));
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(
        std::count(kinds.begin(), kinds.end(), std::make_pair(capisim::kAlert, capisim::kReq)), 0);
}

TEST_F(CallsOnTheLine, CallToAnUnknownMsnIsOnlyIgnored) {
    Start();
    ASSERT_TRUE(RingHans(0x401, 0x0531, "9999"));
    const auto resp = monitor.WaitForPut(capisim::kConnect, capisim::kResp, 0x401);
    ASSERT_TRUE(resp);
    EXPECT_EQ(*resp, ConnectRespBytes(appl, 0x0531, 0x401, 1));
    // Nothing recorded (recording would have come before the answer).
    EXPECT_FALSE(FileExists(monitor.File("Telvor.log")));
    EXPECT_FALSE(FileExists(monitor.File("Calls.ddb")));
    EXPECT_FALSE(LastCall());

    // A call to a known MSN afterwards: its window is the only one, its line the only line.
    ASSERT_TRUE(RingHans(0x402, 0x0532));
    ASSERT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x402));
    ASSERT_EQ(WaitForCallerWindowsByPosition(1).size(), 1u);
    EXPECT_EQ(CallerWindowsByPosition().size(), 1u);
    const auto lines = ProtocolLines(monitor);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 1u);
    const auto calls = CallListRecords(monitor);
    ASSERT_TRUE(calls);
    EXPECT_EQ(calls->size(), 1u);

    // The ignored call: CONNECT_RESP, then only the answer to the line's clearing.
    using K = std::pair<std::uint8_t, std::uint8_t>;
    const auto kinds = Kinds(PutsFor(monitor, 0x401));
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds[0], K(capisim::kConnect, capisim::kResp));
    for (std::size_t i = 1; i < kinds.size(); ++i)
        EXPECT_EQ(kinds[i], K(capisim::kDisconnect, capisim::kResp));
}

TEST_F(CallsOnTheLine, InitAlwaysReleasesAndRegistersAfterEveryShownCall) {
    WriteSetting("Settings", "InitAlways", "1");
    Start();
    ASSERT_EQ(appl, 1);
    ASSERT_TRUE(RingHans(0x501, 0x0541));
    const auto relisten = [](const Bytes& m) {
        return capisim::Command(m) == capisim::kListen && capisim::Subcommand(m) == capisim::kReq &&
               capisim::ApplId(m) != 1;
    };
    ASSERT_TRUE(monitor.Sim().WaitForPut(relisten, 20000));

    const std::vector<std::string> events = monitor.Sim().Events();
    const auto at = [&](const std::string& line) {
        return std::find(events.begin(), events.end(), line) - events.begin();
    };
    const auto n = static_cast<std::ptrdiff_t>(events.size());
    const auto resp = at("PUT 1 " + capisim::ToHex(ConnectRespBytes(1, 0x0541, 0x501, 1)));
    const auto off = at("PUT 1 " + capisim::ToHex(ListenReqBytes(1, 1, false)));
    const auto release = at("RELEASE 1");
    const auto reg = at("REGISTER 2");
    const auto on = at("PUT 2 " + capisim::ToHex(ListenReqBytes(2, 1, true)));
    for (auto i : {resp, off, release, reg, on})
        ASSERT_LT(i, n) << ::testing::PrintToString(events);
    EXPECT_LT(resp, off);
    EXPECT_LT(off, release);
    EXPECT_LT(release, reg);
    EXPECT_LT(reg, on);
    EXPECT_TRUE(monitor.Puts(capisim::kAlert, capisim::kReq).empty());

    // The call was shown, but cannot be rejected any more.
    std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u);
    auto view = ReadCallerWindow(windows[0]);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->name, "Hans Muster");
    EXPECT_FALSE(view->rejectEnabled);

    // The new registration takes the next call, and is renewed in its turn.
    ASSERT_TRUE(monitor.Ring(0x502, 1, "4712", "3098765"));
    ASSERT_TRUE(monitor.Sim().WaitForPut(
        [](const Bytes& m) {
            return capisim::Command(m) == capisim::kListen && capisim::ApplId(m) == 3;
        },
        20000));
    windows = WaitForCallerWindowsByPosition(2);
    ASSERT_EQ(windows.size(), 2u);
    view = ReadCallerWindow(windows[1]);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->name, "Anruf aus Berlin");
    EXPECT_EQ(view->msn, "4712");
    EXPECT_TRUE(monitor.Stop());
}

}  // namespace
}  // namespace telvor::e2e
