// The NCID server on loopback with real Winsock clients: the start-up byte for byte, calls,
// the client's requests, and the bounds that close a connection at once.
#include "ncid/win/NcidServer.h"

#include <windows.h>

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include <winsock2.h>
#include <ws2tcpip.h>

#include "support/NcidTestClient.h"

namespace telvor {
namespace {

using TestClient = test::NcidTestClient;

constexpr UINT kCountMessage = WM_APP + 7;
const std::string kHead = "200 Server: Telvor 2.00\r\n210 API: 1.14 Feature Set 1 4\r\n";
const std::string kEnd = "OPT: country: DE\r\n300 End of connection startup\r\n";

NcidCall Call(std::string name) {
    return NcidCall{"12072026", "1435", "4711", "0711123456", "", std::move(name), "", "", ""};
}

struct NcidServerTest : ::testing::Test {
    WinsockSession winsock;
    NcidServer server;
    NcidServerSettings settings{true, 0, "127.0.0.1", "127.0.0.1"};

    void Start(std::vector<NcidCall> log = {}) {
        // A HELLO window wider than the default second: a busy machine must not close it
        // before the test client's HELLO lines arrive.
        NcidLimits limits;
        limits.helloWindow = std::chrono::seconds(3);
        ASSERT_EQ(server.Start(
                      settings, [log] { return log; }, limits),
                  "");
        ASSERT_GT(server.Port(), 0);
    }
    bool CountBecomes(std::size_t count) {
        for (DWORD waited = 0; waited < test::kNcidClientWaitMs; waited += 10, Sleep(10))
            if (server.ClientCount() == count) return true;
        return false;
    }
};

TEST_F(NcidServerTest, StartupLogCallsAndRequests) {
    HWND window =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    server.SetNotify(window, kCountMessage);
    Start({Call("Alt"), Call("Neu")});
    TestClient first(server.Port());
    ASSERT_TRUE(first.Connected());
    EXPECT_EQ(first.Read(kHead.size()), kHead);
    const std::string log = "254 Start of call log\r\n" + CidLogLine(Call("Alt")) +
                            CidLogLine(Call("Neu")) + "250 End of call log\r\n" + kEnd;
    EXPECT_EQ(first.Read(log.size()), log);

    TestClient quiet(server.Port());
    EXPECT_EQ(quiet.Read(kHead.size()), kHead);
    quiet.Send("HELLO: IDENT: client test 1.0\r\nHELLO: CMD: no_log\r\n");
    const std::string notSent = "251 Call log not sent\r\n" + kEnd;
    EXPECT_EQ(quiet.Read(notSent.size()), notSent);
    EXPECT_TRUE(CountBecomes(2));

    server.Send(Call("Anrufer"));
    EXPECT_EQ(first.Read(CidLine(Call("Anrufer")).size()), CidLine(Call("Anrufer")));
    EXPECT_EQ(quiet.Read(CidLine(Call("Anrufer")).size()), CidLine(Call("Anrufer")));
    first.Send("\r\nREQ: YO\r\n");
    EXPECT_EQ(first.Read(14), "ACK: REQ: YO\r\n");
    first.Send("GOODBYE\r\n");
    EXPECT_TRUE(first.ClosedByPeer());
    EXPECT_TRUE(CountBecomes(1));

    // The window heard of each change: 1, 2, then 1 again.
    std::vector<WPARAM> counts;
    MSG msg;
    for (DWORD waited = 0; counts.size() < 3 && waited < test::kNcidClientWaitMs;
         waited += 10, Sleep(10))
        while (PeekMessageA(&msg, window, kCountMessage, kCountMessage, PM_REMOVE))
            counts.push_back(msg.wParam);
    EXPECT_EQ(counts, (std::vector<WPARAM>{1, 2, 1}));
    server.Stop();
    EXPECT_TRUE(quiet.ClosedByPeer());
    DestroyWindow(window);
}

TEST_F(NcidServerTest, RefusedAddressesAndThe33rdClientAreClosedAtOnce) {
    Start();
    TestClient stranger(server.Port(), "127.0.0.2");
    ASSERT_TRUE(stranger.Connected());
    EXPECT_TRUE(stranger.ClosedByPeer());

    // Connected at once, a 33rd among them: the server takes them in the order they came (in
    // rounds of its own), serves the first 32 and closes the one after them.
    std::vector<std::unique_ptr<TestClient>> clients;
    for (int i = 0; i < 32; ++i) clients.push_back(std::make_unique<TestClient>(server.Port()));
    TestClient extra(server.Port());
    for (std::size_t i = 0; i < clients.size(); ++i)
        ASSERT_EQ(clients[i]->Read(kHead.size()), kHead) << i;
    EXPECT_TRUE(extra.ClosedByPeer());
    // The count is the server thread's: it settles once that thread has caught up.
    for (DWORD waited = 0; server.ClientCount() != 32 && waited < test::kNcidClientWaitMs;
         waited += 10, Sleep(10)) {
    }
    EXPECT_EQ(server.ClientCount(), 32u);

    // Stop closes every connection cleanly: each client reads what was sent, then the end.
    server.Stop();
    for (auto& client : clients) {
        const std::string rest = "252 Call log empty\r\n" + kEnd;
        const std::string got = client->Read(rest.size());
        EXPECT_TRUE(got.empty() || got == rest) << got;
        EXPECT_TRUE(client->ClosedByPeer());
    }
    EXPECT_EQ(server.ClientCount(), 0u);
}

// A call that came from an NCID server does not go back to it (two monitors taking each
// other's calls would send it round for ever); the other clients get it.
TEST_F(NcidServerTest, ACallIsNotSentBackToTheServerItCameFrom) {
    settings.allow = "127.0.0.0/8";
    Start();
    TestClient other(server.Port());
    TestClient origin(server.Port(), "127.0.0.2");
    const std::string startup = kHead + "251 Call log not sent\r\n" + kEnd;
    for (TestClient* client : {&other, &origin}) client->Send("HELLO: CMD: no_log\r\n");
    for (TestClient* client : {&other, &origin}) ASSERT_EQ(client->Read(startup.size()), startup);
    server.Send(Call("Rund"), NetAddress::V4(127, 0, 0, 2));
    server.Send(Call("Alle"));
    const std::string both = CidLine(Call("Rund")) + CidLine(Call("Alle"));
    EXPECT_EQ(other.Read(both.size()), both);
    EXPECT_EQ(origin.Read(CidLine(Call("Alle")).size()), CidLine(Call("Alle")));
}

}  // namespace
}  // namespace telvor
