// The DDE exchange with dmail pro against a small stand-in: a "DMAIL" server with topic
// "SMS" in this process, on its own thread with its own DDEML instance and message loop.
// Every wait is bounded.
#include "monitor/win/DmailConversation.h"

#include <ddeml.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>

#include "base/win/Handles.h"
#include "support/WinTestSupport.h"

namespace telvor {
namespace {

struct FakeDmail {
    DWORD instance = 0;
    DWORD threadId = 0;
    KernelHandle thread;
    KernelHandle ready;
    bool rejectPokes = false;
    // What arrived, written on the server thread, read after the exchange.
    std::atomic<int> pokes{0};
    std::string topic;
    std::string item;
    UINT format = 0;
    std::string data;
};
FakeDmail* g_server = nullptr;

std::string Query(HSZ hsz) {
    char buffer[256] = {};
    DdeQueryStringA(g_server->instance, hsz, buffer, sizeof buffer, CP_WINANSI);
    return buffer;
}

HDDEDATA CALLBACK ServerCallback(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                                 ULONG_PTR, ULONG_PTR) {
    switch (type) {
        case XTYP_CONNECT:
            return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(Query(hsz1) == "SMS"));
        case XTYP_POKE: {
            g_server->topic = Query(hsz1);
            g_server->item = Query(hsz2);
            g_server->format = format;
            const DWORD size = DdeGetData(data, nullptr, 0, 0);
            std::string bytes(size, '\0');
            if (size) DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
            g_server->data = bytes;
            ++g_server->pokes;
            return reinterpret_cast<HDDEDATA>(
                static_cast<INT_PTR>(g_server->rejectPokes ? DDE_FNOTPROCESSED : DDE_FACK));
        }
        default:
            return nullptr;
    }
}

DWORD WINAPI ServerThread(void*) {
    FakeDmail& s = *g_server;
    DWORD id = 0;
    DdeInitializeA(&id, ServerCallback,
                   APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS, 0);
    const DdeInstance instance(id);
    s.instance = id;
    const DdeString service(id, "DMAIL");
    DdeNameService(id, service.get(), nullptr, DNS_REGISTER);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
    SetEvent(s.ready.get());
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DdeNameService(id, service.get(), nullptr, DNS_UNREGISTER);
    return 0;
}

void StartServerThread(FakeDmail& server) {
    server.thread.reset(CreateThread(nullptr, 0, ServerThread, nullptr, 0, &server.threadId));
}

class DmailTest : public ::testing::Test {
  protected:
    void StartServer() {
        g_server = &server;
        server.ready.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        StartServerThread(server);
        ASSERT_TRUE(server.thread);
        ASSERT_EQ(WaitForSingleObject(server.ready.get(), 10000), WAIT_OBJECT_0);
    }

    void TearDown() override {
        if (server.thread) {
            PostThreadMessageA(server.threadId, WM_QUIT, 0, 0);
            EXPECT_EQ(WaitForSingleObject(server.thread.get(), 10000), WAIT_OBJECT_0);
        }
        g_server = nullptr;
    }

    FakeDmail server;
};

using test::AnyVisibleWindowOfThisProcess;

std::atomic<int> g_ticks{0};
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
    ++g_ticks;
}

void CALLBACK StartServerTick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    StartServerThread(*g_server);
}

constexpr char kWrongPath[] = "C:\\Nirgends\\dmail\\dmail.exe";

TEST_F(DmailTest, PokeArrivesByteForByte) {
    StartServer();
    const std::string text = "Anruf von Hans Muster (0711 123456) für Büro um 14:35";
    EXPECT_TRUE(SendDmailMessage("0171 1234567", text, kWrongPath));
    EXPECT_EQ(server.pokes.load(), 1);
    EXPECT_EQ(server.topic, "SMS");
    EXPECT_EQ(server.item, "SEND");
    EXPECT_EQ(server.format, static_cast<UINT>(CF_TEXT));
    const std::string expected = std::string("0171 1234567\r\n") + text + "\r\n" + '\0';
    EXPECT_EQ(server.data, expected);
    EXPECT_FALSE(AnyVisibleWindowOfThisProcess());
}

TEST_F(DmailTest, EmptyReceiverAndTextStillMakeTwoLines) {
    StartServer();
    EXPECT_TRUE(SendDmailMessage("", "", kWrongPath));
    EXPECT_EQ(server.data, std::string("\r\n\r\n") + '\0');
}

TEST_F(DmailTest, RejectedPokeIsNotRepeated) {
    server.rejectPokes = true;
    StartServer();
    EXPECT_FALSE(SendDmailMessage("r", "t", kWrongPath, {60000, 10000, 20}));
    EXPECT_EQ(server.pokes.load(), 1) << "a link that opened ends the exchange";
}

TEST_F(DmailTest, NoDmailAndWrongPathGivesUpAfterTheBoundWithoutWindows) {
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, CountTick);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(SendDmailMessage("r", "t", kWrongPath, {400, 1000, 20}));
    const DWORD elapsed = GetTickCount() - start;
    KillTimer(nullptr, timer);
    EXPECT_GE(elapsed, 400u) << "it keeps trying for the whole wait";
    EXPECT_GT(g_ticks.load(), 0) << "window messages flow while it waits";
    EXPECT_FALSE(AnyVisibleWindowOfThisProcess()) << "never an error box";
}

TEST_F(DmailTest, QuitRequestEndsTheWaitAndIsKeptForTheMainLoop) {
    PostQuitMessage(3);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(SendDmailMessage("r", "t", kWrongPath, {60000, 1000, 20}));
    EXPECT_LT(GetTickCount() - start, 60000u);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(DmailTest, DmailStartedLateIsReachedWhileWaiting) {
    // The server comes up only after the first attempts failed, as a program just started.
    g_server = &server;
    server.ready.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    // Started from a timer inside the wait: the exchange must still be pumping and retrying.
    SetTimer(nullptr, 0, 150, StartServerTick);
    EXPECT_TRUE(SendDmailMessage("r", "spät", kWrongPath, {20000, 10000, 20}));
    EXPECT_EQ(server.pokes.load(), 1);
    EXPECT_EQ(server.data, std::string("r\r\nspät\r\n") + '\0');
}

}  // namespace
}  // namespace telvor
