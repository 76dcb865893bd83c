// Network clients as a client program meets the monitor: it registers by a poke to
// "Register" and receives every shown call on its share TELVC$, item "Call"; on the NT
// platform forwarding is off.
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "support/CallScenario.h"
#include "support/CallerWindowView.h"
#include "support/CaseRegistry.h"
#include "support/FakeDdeServer.h"
#include "support/WindowProbe.h"
#include "support/WineSettings.h"

namespace telvor::e2e {
namespace {

using namespace std::string_literals;

// The monitor's service is its file name: MonitorCase installs Telvor.exe. The server
// starts with the settings, a little after the monitor listens: tried until acknowledged.
bool RegisterClient(const std::string& pokedText) {
    const auto bound = std::chrono::steady_clock::now() + 20s;
    while (!PokeDde("Telvor", "TelvorServer", "Register", pokedText)) {
        if (std::chrono::steady_clock::now() > bound) return false;
        std::this_thread::sleep_for(200ms);
    }
    return true;
}

TEST(NetworkClients, ARegisteredClientReceivesShownAndSuppressedCallsByteForByte) {
    SetWindowsVersionFor("Telvor.exe", "win98");
    FakeDdeServer client("\\\\PC2\\NDDE$", "TELVC$", "Call");
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());
    // Odd pokes are acknowledged but register nothing, and cost the later calls nothing.
    ASSERT_TRUE(RegisterClient(std::string(1, '\0')));
    ASSERT_TRUE(RegisterClient(std::string(64 * 1024, 'x')));  // no line end, no NUL
    // Only the first line names the client; the case of the letters does not matter.
    ASSERT_TRUE(RegisterClient("\\\\pc2\\\r\nTelvorClient\r\n"s + '\0'));

    ASSERT_TRUE(monitor.Ring(0x101, 1, "4711", "711123456"));
    ASSERT_TRUE(client.WaitForPokes(1));
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u);
    const auto view = ReadCallerWindow(windows[0]);
    ASSERT_TRUE(view);
    const std::optional<std::string> tip = LastCall();
    ASSERT_TRUE(tip);
    EXPECT_EQ(client.Pokes()[0], "Hans Muster\r\n(0711) 123456\r\nStuttgart\r\nBüro (4711)\r\n" +
                                     view->dateTime + "\r\nTelefongespräch oder Analog\r\n" + *tip +
                                     "\r\n\0"s);

    // With the display switched off the client still hears of the call.
    ASSERT_TRUE(monitor.Send(kSetDisplayMessage, 0));
    ASSERT_TRUE(monitor.Ring(0x102, 1, "4712", "30123456"));
    ASSERT_TRUE(client.WaitForPokes(2));
    ASSERT_TRUE(monitor.WaitForPut(capisim::kConnect, capisim::kResp, 0x102));
    const std::string second = client.Pokes()[1];
    EXPECT_EQ(second.rfind("Anruf aus Berlin\r\n(030) 123456\r\nBerlin\r\n4712\r\n", 0), 0u)
        << second;
    EXPECT_EQ(CallerWindowsByPosition().size(), 1u) << "no window for the suppressed call";
    EXPECT_EQ(client.Connects(), 2u) << "one conversation per call";

    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

// The session ends while a forward waits for a client that hangs in its poke: the end is
// handled from inside that wait, and the forward must not outlive what it uses.
TEST(NetworkClients, TheSessionsEndDuringAHangingForwardStoresAndEndsCleanly) {
    SetWindowsVersionFor("Telvor.exe", "win98");
    WriteSetting("Settings", "DMWhenMessage", "3");  // no messaging program's minute to wait
    FakeDdeServer client("\\\\PC2\\NDDE$", "TELVC$", "Call", FakeDdeServer::Mode::Hang);
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());
    ASSERT_TRUE(RegisterClient("\\\\PC2\\\r\n"));
    ASSERT_TRUE(monitor.Ring(0x301, 1, "4711", "711123456"));
    ASSERT_TRUE(telvor::test::PollUntil(20s, [&] { return client.HeldPokes() > 0; }))
        << "no forward";

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(monitor.MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                    SMTO_NORMAL, 20000, &answer))
        << "the end of the session must be handled during the forward's wait";
    EXPECT_EQ(ReadSetting("Settings", "Version"), "2.00");
    ASSERT_TRUE(monitor.Process().WaitForExit(30s));
    EXPECT_EQ(monitor.Process().ExitCode(), 0u) << "ended in order, no crash";
}

TEST(NetworkClients, OnNtPokesAreAcknowledgedButNothingIsForwarded) {
    WriteSetting("Settings", "EnableNetDDE", "1");
    FakeDdeServer client("\\\\PC2\\NDDE$", "TELVC$", "Call");
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());
    EXPECT_TRUE(RegisterClient("\\\\PC2\\\r\n")) << "acknowledged, though ignored";

    ASSERT_TRUE(monitor.Ring(0x201, 1, "4711", "711123456"));
    // Forwarding would come before the answer.
    ASSERT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x201));
    EXPECT_EQ(client.Connects(), 0u);
    EXPECT_TRUE(client.Pokes().empty());

    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(ReadSetting("Settings", "EnableNetDDE"), "0");
}

}  // namespace
}  // namespace telvor::e2e
