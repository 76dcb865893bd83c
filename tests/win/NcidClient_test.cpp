// The NCID client against a fake server on loopback: the start-up it answers, the call it
// hands over (and the log it ignores), and the new connection after the server went away.
#include "ncid/win/NcidClient.h"

#include <windows.h>

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <winsock2.h>
#include <ws2tcpip.h>

#include "base/Version.h"
#include "base/win/Handles.h"
#include "support/NcidTestClient.h"

namespace telvor {
namespace {

using test::kNcidClientWaitMs;

constexpr UINT kClientMessage = WM_APP + 8;
const std::string kHead = "200 Server: fake 1.0\r\n210 API: 1.14 Feature Set 1\r\n";

// A server that takes one connection at a time, every wait bounded.
class FakeServer {
  public:
    FakeServer() : listener_(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = inet_addr("127.0.0.1");
        bind(listener_.get(), reinterpret_cast<sockaddr*>(&local), sizeof local);
        listen(listener_.get(), 1);
        int length = sizeof local;
        getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&local), &length);
        port_ = ntohs(local.sin_port);
    }
    int Port() const { return port_; }
    // The next client's connection, as a peer to talk to; not connected when none came.
    test::NcidTestClient Accept() {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener_.get(), &ready);
        timeval wait{static_cast<long>(kNcidClientWaitMs / 1000), 0};
        if (select(0, &ready, nullptr, nullptr, &wait) != 1)
            return test::NcidTestClient(UniqueSocket());
        return test::NcidTestClient(UniqueSocket(accept(listener_.get(), nullptr, nullptr)));
    }

  private:
    UniqueSocket listener_;
    int port_ = 0;
};

struct NcidClientTest : ::testing::Test {
    WinsockSession winsock;
    FakeServer server;
    HWND window =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    NcidClient client;
    std::vector<NcidClientEvent> events;
    std::vector<LPARAM> states;  // kConnectionChanged as posted

    ~NcidClientTest() override {
        client.Stop();
        DestroyWindow(window);
    }
    // Reads the window's messages as its owner would, until `done` or the time runs out.
    bool PumpUntil(const std::function<bool()>& done) {
        for (DWORD waited = 0; waited < kNcidClientWaitMs; waited += 10, Sleep(10)) {
            MSG msg;
            while (PeekMessageA(&msg, window, kClientMessage, kClientMessage, PM_REMOVE)) {
                if (msg.wParam == NcidClient::kConnectionChanged) states.push_back(msg.lParam);
                if (msg.wParam == NcidClient::kEventsWaiting)
                    for (auto& e : client.TakeEvents()) events.push_back(std::move(e));
            }
            if (done()) return true;
        }
        return false;
    }
};

TEST_F(NcidClientTest, AnswersTheStartupTakesACallAndConnectsAgain) {
    client.SetNotify(window, kClientMessage);
    ASSERT_EQ(client.Start({CallsFrom::Ncid, "127.0.0.1", server.Port()}), "");
    test::NcidTestClient first = server.Accept();
    ASSERT_TRUE(first.Connected());
    first.Send(kHead);
    EXPECT_EQ(first.ReadThrough("no_log\r\n"),
              "HELLO: IDENT: client Telvor " TELVOR_VERSION_TEXT "\r\nHELLO: CMD: no_log\r\n");
    first.Send(
        "254 Start of call log\r\nCIDLOG: *DATE*12072026*TIME*1400*NMBR*111*NAME*Alt*\r\n"
        "250 End of call log\r\nOPT: country: DE\r\n300 End of connection startup\r\n"
        "CID: *DATE*12072026*TIME*1435*LINE*4711*NMBR*0711 12&34*MESG*NONE"
        "*NAME*x\" & calc.exe & \"*\r\n");
    ASSERT_TRUE(PumpUntil([&] { return !events.empty() && !states.empty(); }));
    EXPECT_TRUE(client.Connected());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, NcidClientEvent::Kind::Call);
    EXPECT_EQ(events[0].call.number, "07111234");
    EXPECT_EQ(events[0].call.name, "x  calc.exe");
    EXPECT_EQ(events[0].call.line, "4711");

    // The server goes away; the client notices and is back within the first wait (1 s).
    first.Close();
    ASSERT_TRUE(PumpUntil([&] { return states.size() == 2; }));
    EXPECT_EQ(states, (std::vector<LPARAM>{1, 0}));
    test::NcidTestClient second = server.Accept();
    ASSERT_TRUE(second.Connected());
    second.Send(kHead +
                "252 Call log empty\r\n300 End of connection startup\r\n"
                "CID: *NMBR*PRIVATE*NAME*Zweiter*\r\n");
    ASSERT_TRUE(PumpUntil([&] { return events.size() == 2; }));
    EXPECT_EQ(events[1].call.name, "Zweiter");
    EXPECT_EQ(events[1].call.number, "");

    // Stop closes the connection cleanly.
    client.Stop();
    second.ReadThrough("no_log\r\n");
    EXPECT_TRUE(second.ClosedByPeer());
    EXPECT_FALSE(client.Connected());
}

}  // namespace
}  // namespace telvor
