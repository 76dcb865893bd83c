// The monitor as an NCID server, met by NCID clients on loopback: the start-up with the call
// log byte for byte, a CID line for every call (also with the display switched off), the end
// of the ringing, the clients' requests, a refused address, the network page switching the
// server off, a load of clients that leaves nothing behind, and a port already in use.
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/win/Handles.h"
#include "ncid/CallLog.h"
#include "ncid/Greeting.h"
#include "store/CallList.h"
#include "support/CallScenario.h"
#include "support/CallerWindowView.h"
#include "support/CaseRegistry.h"
#include "support/MonitorCase.h"
#include "support/NcidTestClient.h"
#include "support/ProcessFigures.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {
namespace {

using namespace telvor::test;

constexpr char kStartupEnd[] = "300 End of connection startup\r\n";

// The server starts with the settings, a little after the monitor listens: tried until then.
std::unique_ptr<NcidTestClient> Connect(int port, const char* from = "127.0.0.1") {
    std::unique_ptr<NcidTestClient> client;
    PollUntil(20s, [&] {
        client = std::make_unique<NcidTestClient>(port, from);
        return client->Connected();
    });
    return client;
}

TEST(NcidServerOfTheMonitor, ClientsGetTheLogAndEveryCallAndThePageSwitchesItOff) {
    WinsockSession winsock;
    const int port = FreeTcpPort();
    ASSERT_GT(port, 0);
    WriteSetting("Settings", "NcidServer", "1");
    WriteSetting("Settings", "NcidPort", std::to_string(port));
    WriteSetting("Settings", "NcidAllow", "127.0.0.1/32");
    WriteSetting("Settings", "DMWhenMessage", "3");
    MonitorCase monitor;
    SeedStandardLine(monitor);
    const std::vector<CallRecord> seeded = {{"Hans Muster", "Büro (4711)", 46364.5, false},
                                            {"(030) 123456", "4712", 46364.75, true}};
    ASSERT_TRUE(ReplaceCalls(monitor.File("Calls.ddb"), seeded));
    ASSERT_TRUE(monitor.StartListening());

    // A client that stays silent gets the head, the log of the call list and the end.
    const auto client = Connect(port);
    ASSERT_TRUE(client && client->Connected());
    EXPECT_EQ(
        client->ReadThrough(kStartupEnd),
        NcidGreetingHead() + NcidCallLogSection(NcidCallLog(seeded), true) + NcidStartupEnd());
    // One that says it wants no log gets none, and its request is acknowledged.
    NcidTestClient quiet(port);
    ASSERT_TRUE(quiet.Connected());
    EXPECT_EQ(quiet.Read(NcidGreetingHead().size()), NcidGreetingHead());
    quiet.Send("HELLO: IDENT: e2e 1.0\r\nHELLO: CMD: no_log\r\n");
    EXPECT_EQ(quiet.ReadThrough(kStartupEnd), NcidCallLogSection({}, false) + NcidStartupEnd());
    quiet.Send("REQ: YO\r\n");
    EXPECT_EQ(quiet.ReadThrough("\r\n"), "ACK: REQ: YO\r\n");
    // An address outside the allowed ones is closed at once, without a byte.
    NcidTestClient stranger(port, "127.0.0.2");
    ASSERT_TRUE(stranger.Connected());
    EXPECT_TRUE(stranger.ClosedByPeer());

    // A shown call, then one while the display is off: both reach every client.
    ASSERT_TRUE(monitor.Ring(0x501, 1, "4711", "711123456"));
    std::string line = client->ReadThrough("\r\n");
    EXPECT_EQ(line.rfind("CID: *DATE*", 0), 0u) << line;
    for (const char* pair : {"*NMBR*0711123456*", "*FNMBR*(0711) 123456*", "*LOCA*Stuttgart*",
                             "*NAME*Hans Muster*", "*MESG*NONE*"})
        EXPECT_NE(line.find(pair), std::string::npos) << pair << " in " << line;
    EXPECT_EQ(quiet.ReadThrough("\r\n"), line);
    ASSERT_TRUE(monitor.Send(kSetDisplayMessage, 0));
    ASSERT_TRUE(monitor.Ring(0x502, 1, "4712", "30123456"));
    line = client->ReadThrough("\r\n");
    EXPECT_NE(line.find("*LINE*4712*"), std::string::npos) << line;
    EXPECT_NE(line.find("*NAME*Anruf aus Berlin*"), std::string::npos) << line;
    // The held caller hangs up: the clients hear that its ringing stopped. The ignored call's
    // clearing (the monitor left it; it may ring on elsewhere) is not told.
    ASSERT_TRUE(monitor.HangUp(0x501));
    line = client->ReadThrough("\r\n");
    EXPECT_EQ(line.rfind("CIDINFO: *LINE*", 0), 0u) << line;
    EXPECT_NE(line.find("*RING*0*"), std::string::npos) << line;
    EXPECT_EQ(line.find("*LINE*4712*"), std::string::npos) << line;

    EXPECT_EQ(quiet.ReadThrough("\r\n").rfind("CID: ", 0), 0u);
    EXPECT_EQ(quiet.ReadThrough("\r\n").rfind("CIDINFO: ", 0), 0u);
    quiet.Send("GOODBYE\r\n");
    const std::string after = quiet.Read(4096);
    EXPECT_EQ(after, "") << "nothing after GOODBYE but the end";

    // Switched off on the network page and applied: the remaining client is closed.
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);
    ASSERT_TRUE(monitor.Send(kTrayIconMessage, 1, 0x203 /* WM_LBUTTONDBLCLK */));
    ASSERT_EQ(WaitForVisibleWindow("#32770", "Telvor einrichten", 10s), configure);
    const std::optional<ChildControl> box =
        FindChildByText(configure, "Anrufe an &NCID-Clients im Netzwerk senden");
    ASSERT_TRUE(box);
    EXPECT_EQ(SendMessageA(box->window, BM_GETCHECK, 0, 0), BST_CHECKED);
    // What a click does: the box unchecked, its parent told.
    SendMessageA(box->window, BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(GetParent(box->window), WM_COMMAND, MAKEWPARAM(box->id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(box->window));
    ASSERT_TRUE(PollUntil(
        10s, [&] { return IsWindowEnabled(ButtonWithText(configure, "Ü&bernehmen")) != FALSE; }));
    ASSERT_TRUE(PressButton(configure, "Ü&bernehmen"));
    const std::string last = client->Read(4096);
    EXPECT_EQ(last, "") << "switching off closes the clients";
    EXPECT_EQ(ReadSetting("Settings", "NcidServer"), "0");
}

// Under load on loopback, the full 32 clients: 30 that read, one that never reads, one that
// sends garbage; then a thousand connections opened and closed. The server is back at its 31
// clients, the monitor's handles and memory at their level, and the next call reaches every
// reading client while the line is answered as always.
TEST(NcidServerOfTheMonitor, LoadOfClientsLeavesNothingBehindAndCallsGoOn) {
    WinsockSession winsock;
    const int port = FreeTcpPort();
    ASSERT_GT(port, 0);
    WriteSetting("Settings", "NcidServer", "1");
    WriteSetting("Settings", "NcidPort", std::to_string(port));
    WriteSetting("Settings", "DMWhenMessage", "3");
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());
    const std::string head = NcidGreetingHead();
    std::vector<std::unique_ptr<NcidTestClient>> readers;
    readers.push_back(Connect(port));
    ASSERT_TRUE(readers.back() && readers.back()->Connected());
    for (int i = 1; i < 30; ++i) readers.push_back(std::make_unique<NcidTestClient>(port));
    for (auto& reader : readers) ASSERT_EQ(reader->ReadThrough(kStartupEnd).rfind(head, 0), 0u);
    NcidTestClient sleeper(port);  // connected, never reads a byte
    NcidTestClient garbage(port);
    garbage.Send(std::string(2000, 'x'));
    EXPECT_EQ(garbage.Read(4096).rfind(head, 0), 0u) << "greeted like any client";
    EXPECT_TRUE(garbage.ClosedByPeer()) << "closed after its overlong line";

    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);
    const auto serving = [&](const char* clients) {
        return PollUntil(30s, [&] { return FindChildByText(configure, clients).has_value(); });
    };
    ASSERT_TRUE(serving("Verbundene Clients: 31"));
    const HANDLE process = monitor.Process().Handle();
    const DWORD pid = monitor.Process().Pid();
    const long long handlesBefore = HandleCount(pid);
    const long long memoryBefore = WorkingSetBytes(process);
    ASSERT_GT(handlesBefore, 0);
    ASSERT_GT(memoryBefore, 0);
    int connected = 0;
    for (int i = 0; i < 1000; ++i) connected += NcidTestClient(port).Connected() ? 1 : 0;
    EXPECT_EQ(connected, 1000);
    // Connections wait for the server in the order they came: once one opened after the
    // thousand is greeted, the server has taken (and closed or refused) every one of them.
    ASSERT_TRUE(PollUntil(60s, [&] { return NcidTestClient(port).Read(head.size()) == head; }))
        << "no room for a client after the thousand";
    EXPECT_TRUE(serving("Verbundene Clients: 31")) << "connections of the passing clients kept";
    PollUntil(30s, [&] { return HandleCount(pid) <= handlesBefore; });
    const long long handlesAfter = HandleCount(pid);
    const long long memoryAfter = WorkingSetBytes(process);
    ASSERT_GT(handlesAfter, 0);
    ASSERT_GT(memoryAfter, 0);
    EXPECT_LE(handlesAfter, handlesBefore) << "handles of closed connections kept";
    EXPECT_LE(memoryAfter, memoryBefore + 2 * 1024 * 1024);

    ASSERT_TRUE(monitor.Ring(0x601, 1, "4711", "711123456"));
    EXPECT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x601))
        << "the line is answered as always";
    for (auto& reader : readers) {
        const std::string line = reader->ReadThrough("\r\n");
        EXPECT_EQ(line.rfind("CID: ", 0), 0u) << line;
    }
}

// A port another program holds: the monitor says why its server did not start, but only once
// it takes calls, so a call while the box waits for its OK is shown at once.
TEST(NcidServerOfTheMonitor, APortInUseIsToldWithoutHoldingBackCalls) {
    WinsockSession winsock;
    const int port = FreeTcpPort();
    ASSERT_GT(port, 0);
    UniqueSocket holder(socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(static_cast<u_short>(port));
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(bind(holder.get(), reinterpret_cast<sockaddr*>(&any), sizeof any), 0);
    ASSERT_EQ(listen(holder.get(), 1), 0);
    WriteSetting("Settings", "NcidServer", "1");
    WriteSetting("Settings", "NcidPort", std::to_string(port));
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());

    const HWND box = WaitForVisibleWindow("#32770", "Fehler", 30s);
    ASSERT_NE(box, nullptr) << "no word about the server";
    const std::string lead = "Der NCID-Server für die Anzeige im Netzwerk konnte nicht starten: ";
    const std::vector<ChildControl> controls = ChildControls(box);
    EXPECT_TRUE(std::any_of(controls.begin(), controls.end(),
                            [&](const ChildControl& c) { return c.text.rfind(lead, 0) == 0; }));
    ASSERT_TRUE(monitor.Ring(0x501, 1, "4711", "711123456"));
    EXPECT_EQ(WaitForCallerWindowsByPosition(1).size(), 1u) << "the open box held back the call";
    EXPECT_TRUE(PressButton(box, "OK"));
}

}  // namespace
}  // namespace telvor::e2e
