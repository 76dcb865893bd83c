// Calls from an NCID server on the network, met by the monitor's NCID client: a fake server
// on loopback greets it and sends CID lines. What the user sees is that of a call from the
// line (caller window, protocol file, call list, sound), the server's own words are not
// trusted, and a server that goes away or talks nonsense is dropped and found again.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/win/Handles.h"
#include "support/CallScenario.h"
#include "support/CallerWindowView.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/FakeNcidServer.h"
#include "support/MonitorCase.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {
namespace {

using namespace telvor::test;

constexpr char kPhoneService[] = "Telefongespräch oder Analog";
constexpr char kClearedStatus[] = "Anruf angenommen oder getrennt";

// A call as the server reports it when it rings, on 12 November 2026 at 14:35.
std::string CidLine(std::string_view line, std::string_view number, std::string_view name) {
    return "CID: *DATE*11122026*TIME*1435*LINE*" + std::string(line) + "*NMBR*" +
           std::string(number) + "*MESG*NONE*NAME*" + std::string(name) + "*\r\n";
}

// A sound file that tells whether it was played: the system's player reads it, and the file
// system keeps the time of a read (Linux's default, relatime, always keeps the first read
// after a write; noatime keeps none, which ReadsAreKept tells).
class SoundProbe {
  public:
    SoundProbe() : path_(JoinPath(MakeCaseFolder("Klang"), "klingel.wav")) {
        WriteFileBytes(path_, kWaveHead);
    }
    const std::string& Path() const { return path_; }
    bool WaitForRead(std::chrono::milliseconds timeout = 20s) const {
        return PollUntil(timeout, [&] { return ReadSinceWritten(path_); });
    }
    static bool ReadsAreKept() {
        const std::string control = JoinPath(CaseDir(), "read-control.wav");
        WriteFileBytes(control, kWaveHead);
        return ReadFileBytes(control) && ReadSinceWritten(control);
    }

  private:
    // The head of a wave file without samples: 8 kHz, 8 bits, mono.
    static constexpr std::string_view kWaveHead{
        "RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0"
        "data\0\0\0\0",
        44};

    static bool ReadSinceWritten(const std::string& path) {
        WIN32_FILE_ATTRIBUTE_DATA times{};
        return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &times) &&
               CompareFileTime(&times.ftLastAccessTime, &times.ftLastWriteTime) > 0;
    }

    std::string path_;
};

class NcidClientOfTheMonitor : public ::testing::Test {
  protected:
    void UseServer(const char* source) {
        WriteSetting("Settings", "CallSource", source);
        WriteSetting("Settings", "NcidServerHost", "127.0.0.1");
        WriteSetting("Settings", "NcidServerPort", std::to_string(server.Port()));
    }
    // Calls from the server alone: the line's library is not even there to be loaded.
    void StartWithServerOnly() {
        UseServer("ncid");
        ASSERT_TRUE(DeleteFileA(monitor.File("Capi2032.dll").c_str()));
        ASSERT_TRUE(monitor.StartWithoutLine());
        ASSERT_TRUE(server.WaitForStartup(1)) << "the monitor did not connect";
    }
    // The caller window that is not one of `known`, once it is there.
    HWND NextCallerWindow(const std::vector<HWND>& known) {
        HWND found = nullptr;
        PollUntil(20s, [&] {
            for (HWND window : CallerWindowsByPosition())
                if (std::find(known.begin(), known.end(), window) == known.end()) found = window;
            return found != nullptr;
        });
        return found;
    }

    WinsockSession winsock;
    FakeNcidServer server;
    MonitorCase monitor;
};

TEST_F(NcidClientOfTheMonitor, ACallIsShownRecordedAndRungAndTheEndOfItsRingingMarksItsWindow) {
    WriteSetting("Settings", "Alert", "1");
    SeedMsn(0, "4711", "Büro");
    SoundProbe sound;
    WriteSetting("MSNs\\00000000", "Programm", sound.Path());
    WriteCallerDatabase(monitor.File("CallerList.ddb"),
                        {{"0711 1234", "Firma Muster", false, "", ""}});
    server.SetGreeting(
        {.log = {"CIDLOG: *DATE*11112026*TIME*0900*LINE*4711*NMBR*07119999*MESG*NONE*NAME*Alt*"}});
    StartWithServerOnly();
    if (HasFatalFailure()) return;
    const std::string hello = server.Received(1);
    EXPECT_EQ(hello.rfind("HELLO: IDENT: ", 0), 0u) << hello;
    EXPECT_NE(hello.find("\r\nHELLO: CMD: no_log\r\n"), std::string::npos) << hello;

    ASSERT_TRUE(server.Send(CidLine("4711", "07111234567", "SERVER NAME")));
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u);
    if (SoundProbe::ReadsAreKept()) {
        EXPECT_TRUE(sound.WaitForRead()) << "the MSN's sound was not played";
    }
    const auto view = ReadCallerWindow(windows[0]);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->title, "Telvor - Anrufer");
    EXPECT_EQ(view->name, "Firma Muster") << "the caller database's name comes first";
    EXPECT_EQ(view->number, "(0711) 1234567");
    EXPECT_EQ(view->town, "Stuttgart");
    EXPECT_EQ(view->msn, "Büro (4711)");
    EXPECT_EQ(view->dateTime, "12.11.2026  14:35") << "the server's date and time";
    EXPECT_EQ(view->service, kPhoneService);
    EXPECT_FALSE(view->rejectEnabled) << "a call from the network cannot be rejected";

    const auto lines = ProtocolLines(monitor);
    ASSERT_TRUE(lines) << "no protocol file";
    EXPECT_EQ(*lines, std::vector<std::string>{"12.11.2026, 14:35, Firma Muster, (0711) 1234567, "
                                               "Telefongespräch oder Analog, Büro (4711)"});
    const auto calls = CallListRecords(monitor);
    ASSERT_TRUE(calls) << "no call list";
    ASSERT_EQ(calls->size(), 1u);
    EXPECT_EQ((*calls)[0].name, "Firma Muster");
    EXPECT_EQ((*calls)[0].called, "Büro (4711)");
    EXPECT_FALSE((*calls)[0].notInDatabase);
    EXPECT_EQ(static_cast<int>((*calls)[0].time), 46338) << "12.11.2026";
    EXPECT_EQ(MinuteOfDay((*calls)[0].time), 14 * 60 + 35);
    EXPECT_EQ(CallerWindowsByPosition().size(), 1u) << "the call log shows nothing";
    EXPECT_EQ(FindMessageDialogOf(monitor.Process().Pid()), nullptr)
        << "no message at the start: the line is not asked for";

    // The ringing ended: marked as a call the line cleared.
    ASSERT_TRUE(server.Send("CIDINFO: *LINE*4711*RING*0*TIME*14:35:40*\r\n"));
    ASSERT_TRUE(WaitForTitleSuffix(windows[0], " - getrennt"));
    const auto cleared = ReadCallerWindow(windows[0]);
    ASSERT_TRUE(cleared);
    EXPECT_EQ(cleared->title, "Telvor - Anrufer - getrennt");
    EXPECT_EQ(cleared->status, kClearedStatus);
    EXPECT_TRUE(IsWindowVisible(windows[0])) << "the window outlives the call";
}

TEST_F(NcidClientOfTheMonitor, ConnectsAgainAfterTheServerWentAwayOrBrokeTheProtocol) {
    SeedStandardLine(monitor);
    WriteSetting("MSNs\\00000001", "Name", "Privat");
    StartWithServerOnly();
    if (HasFatalFailure()) return;

    // Away for a while: the monitor keeps trying and is back once the server listens again.
    server.CloseConnection();
    server.StopListening();
    std::this_thread::sleep_for(1500ms);
    server.Listen();
    ASSERT_TRUE(server.WaitForStartup(2, 10s)) << "no new connection";
    ASSERT_TRUE(server.Send(CidLine("pRiVaT", "0711123456", "HANS")));
    const HWND first = NextCallerWindow({});
    ASSERT_NE(first, nullptr);
    const auto view = ReadCallerWindow(first);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->name, "Hans Muster");
    EXPECT_EQ(view->msn, "Privat (4712)") << "the line named by the MSN's name";

    // A line longer than any the protocol has: the connection is dropped and made again.
    ASSERT_TRUE(server.Send("CID: *NAME*" + std::string(2000, 'x') + "*\r\n"));
    ASSERT_TRUE(server.WaitForClosedByClient(2, 10s)) << "an overlong line was taken";
    ASSERT_TRUE(server.WaitForStartup(3, 10s)) << "no new connection";

    // A server whose first line is not 200: dropped at once, and found again when it is.
    server.SetGreeting({.head = "500 Kein NCID-Server\r\n", .log = {}});
    server.CloseConnection();
    ASSERT_TRUE(server.WaitForClosedByClient(4, 10s)) << "a server without 200 was taken";
    server.SetGreeting({});
    ASSERT_TRUE(server.WaitForStartup(5, 10s)) << "no new connection";
    ASSERT_TRUE(server.Send(CidLine("4711", "030998877", "Bert")));
    const HWND second = NextCallerWindow({first});
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(WindowText(CallerControl(second, "NameL")), "Anruf aus Berlin");
    EXPECT_EQ(CallerWindowsByPosition().size(), 2u) << "nothing shown of the broken lines";
}

TEST_F(NcidClientOfTheMonitor, TheServersNameCannotBreakOutOfAProgramsCommandLine) {
    SeedMsn(0, "4711", "Büro");
    const std::string names = monitor.File("names.txt");
    WriteSetting("MSNs\\00000000", "Programm", "cmd.exe");
    WriteSetting("MSNs\\00000000", "Parameter", "/c echo \"&NAME\">>\"" + names + "\"");
    StartWithServerOnly();
    if (HasFatalFailure()) return;

    ASSERT_TRUE(server.Send(CidLine("4711", "0891234", "Bob\" & echo pwned>evil.txt & \"")));
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u);
    const std::string shown = WindowText(CallerControl(windows[0], "NameL"));
    EXPECT_EQ(shown.rfind("Bob", 0), 0u) << shown;
    EXPECT_EQ(shown.find_first_of("\"&<>|^%!"), std::string::npos) << shown;

    ASSERT_TRUE(PollUntil(20s, [&] { return FileExists(names); })) << "the program did not run";
    std::optional<std::string> written;
    PollUntil(5s, [&] {
        return (written = ReadFileBytes(names)) && written->find('\n') != std::string::npos;
    });
    ASSERT_TRUE(written);
    // The template's own quotes around the name, nothing of the name's.
    ASSERT_GE(written->size(), 4u) << *written;
    EXPECT_EQ(written->front(), '"') << *written;
    const std::string name = written->substr(1, written->find_last_of('"') - 1);
    EXPECT_EQ(name.rfind("Bob", 0), 0u) << *written;
    EXPECT_EQ(name.find_first_of("\"&<>|^%!"), std::string::npos) << *written;
    EXPECT_FALSE(FileExists(monitor.File("evil.txt"))) << "the name ran a command of its own";
}

TEST_F(NcidClientOfTheMonitor, WithBothSourcesTheLinesCallAndTheServersCallAreEachShownOnce) {
    SeedStandardLine(monitor);
    UseServer("both");
    ASSERT_TRUE(monitor.StartListening());
    ASSERT_TRUE(server.WaitForStartup(1)) << "the monitor did not connect";

    ASSERT_TRUE(monitor.Ring(0x101, 1, "4711", "711123456"));
    ASSERT_TRUE(server.Send(CidLine("POTS", "030998877", "Bert")));
    ASSERT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x101));
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(2);
    ASSERT_EQ(windows.size(), 2u);
    std::vector<CallerWindowView> views;
    for (HWND window : windows) views.push_back(ReadCallerWindow(window).value());
    std::sort(views.begin(), views.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    EXPECT_EQ(views[0].name, "Anruf aus Berlin");
    EXPECT_EQ(views[0].msn, "POTS") << "a line of no MSN is shown by its id";
    EXPECT_FALSE(views[0].rejectEnabled);
    EXPECT_EQ(views[1].name, "Hans Muster");
    EXPECT_EQ(views[1].msn, "Büro (4711)");
    EXPECT_TRUE(views[1].rejectEnabled);

    EXPECT_FALSE(PollUntil(2s, [] { return CallerWindowsByPosition().size() > 2; }))
        << "a call was shown twice";
    const auto lines = ProtocolLines(monitor);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 2u);
}

// The network page: the server chosen there and applied is met at once, and its calls come.
TEST_F(NcidClientOfTheMonitor, ThePageChoosesTheServerAndAnApplyConnectsAtOnce) {
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);
    ASSERT_TRUE(monitor.Send(kTrayIconMessage, 1, 0x203 /* WM_LBUTTONDBLCLK */));
    ASSERT_EQ(WaitForVisibleWindow("#32770", "Telvor einrichten", 10s), configure);

    // What the user's clicks and typing do: "Beiden" checked alone, host and port filled in.
    for (const char* source : {"&ISDN-Karte (CAPI)", "NCID-&Server", "B&eiden"}) {
        const std::optional<ChildControl> radio = FindChildByText(configure, source);
        ASSERT_TRUE(radio) << source;
        SendMessageA(radio->window, BM_SETCHECK,
                     std::string_view(source) == "B&eiden" ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ASSERT_TRUE(PressButton(configure, "B&eiden"));
    for (auto [label, text] : {std::pair{"&Rechner:", std::string("127.0.0.1")},
                               {"P&ort:", std::to_string(server.Port())}}) {
        const std::optional<ChildControl> caption = FindChildByText(configure, label);
        ASSERT_TRUE(caption) << label;
        SetWindowTextA(GetWindow(caption->window, GW_HWNDNEXT), text.c_str());
    }
    ASSERT_TRUE(PollUntil(
        10s, [&] { return IsWindowEnabled(ButtonWithText(configure, "Ü&bernehmen")) != FALSE; }));
    ASSERT_TRUE(PressButton(configure, "Ü&bernehmen"));
    ASSERT_TRUE(server.WaitForStartup(1)) << "the apply did not connect";
    EXPECT_EQ(ReadSetting("Settings", "CallSource"), "both");
    EXPECT_EQ(ReadSetting("Settings", "NcidServerPort"), std::to_string(server.Port()));

    ASSERT_TRUE(server.Send(CidLine("4712", "0711123456", "HANS")));
    const HWND window = NextCallerWindow({});
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(CallerControl(window, "NameL")), "Hans Muster");
}

}  // namespace
}  // namespace telvor::e2e
