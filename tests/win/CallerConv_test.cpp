// The client conversation of forwarded calls against a DDEML server in this process (its own
// thread, instance and message loop) that takes, refuses or never answers a poke.
#include "netdde/win/CallerConv.h"

#include <ddeml.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace telvor {
namespace {

using namespace std::string_literals;

constexpr char kService[] = "\\\\WINTEST\\NDDE$";

enum class Answer { Take, Refuse, Hang };

struct FakeClient {
    std::atomic<Answer> answer{Answer::Take};
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // ends a hang
    std::mutex mutex;
    std::vector<std::string> pokes;  // "item|data"
    std::atomic<bool> hanging{false};
    DWORD threadId = 0;
    std::atomic<bool> ready{false};
    std::thread thread;
    ~FakeClient() {
        if (release) CloseHandle(release);
    }
};
FakeClient* g_client = nullptr;
DWORD g_instance = 0;

std::string Query(HSZ hsz) {
    char buffer[256] = {};
    DdeQueryStringA(g_instance, hsz, buffer, sizeof buffer, CP_WINANSI);
    return buffer;
}

HDDEDATA CALLBACK ClientCallback(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA data,
                                 ULONG_PTR, ULONG_PTR) {
    if (type == XTYP_CONNECT)
        return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(Query(hsz1) == "TELVC$"));
    if (type != XTYP_POKE || format != CF_TEXT) return nullptr;
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    std::string bytes(size, '\0');
    if (size) DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
    {
        std::lock_guard lock(g_client->mutex);
        g_client->pokes.push_back(Query(hsz2) + "|" + bytes);
    }
    if (g_client->answer == Answer::Hang) {
        g_client->hanging = true;
        WaitForSingleObject(g_client->release, 20000);  // bounded, like every wait here
    }
    return reinterpret_cast<HDDEDATA>(
        static_cast<INT_PTR>(g_client->answer == Answer::Refuse ? DDE_FNOTPROCESSED : DDE_FACK));
}

class CallerConvTest : public ::testing::Test {
  protected:
    void Start(Answer answer) {
        client_.answer = answer;
        g_client = &client_;
        client_.thread = std::thread([this] {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
            client_.threadId = GetCurrentThreadId();
            DdeInitializeA(&g_instance, ClientCallback,
                           APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS,
                           0);
            HSZ service = DdeCreateStringHandleA(g_instance, kService, CP_WINANSI);
            DdeNameService(g_instance, service, nullptr, DNS_REGISTER);
            client_.ready = true;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
            DdeNameService(g_instance, service, nullptr, DNS_UNREGISTER);
            DdeFreeStringHandle(g_instance, service);
            DdeUninitialize(g_instance);
        });
        for (int i = 0; i < 1000 && !client_.ready; ++i) Sleep(10);
        ASSERT_TRUE(client_.ready);
    }
    void TearDown() override {
        if (!client_.thread.joinable()) return;
        SetEvent(client_.release);
        PostThreadMessageA(client_.threadId, WM_QUIT, 0, 0);
        client_.thread.join();
        g_client = nullptr;
    }
    std::vector<std::string> Pokes() {
        std::lock_guard lock(client_.mutex);
        return client_.pokes;
    }

    FakeClient client_;
};

TEST_F(CallerConvTest, PokesTheTextByteForByteAndClosesTheLink) {
    Start(Answer::Take);
    CallerConv conv;
    conv.SetLink(kService, "TELVC$");
    ASSERT_TRUE(conv.OpenLink(false));
    EXPECT_TRUE(conv.PokeData("Call", "eins\r\nzwei\r\n\0"s));
    conv.CloseLink();
    EXPECT_EQ(Pokes(), (std::vector<std::string>{"Call|eins\r\nzwei\r\n\0"s}));

    // The link opens again for the next call; a refused topic opens nothing.
    conv.SetLink(kService, "TELVC$");
    ASSERT_TRUE(conv.OpenLink(false));
    EXPECT_TRUE(conv.PokeData("Call", "drei\r\n\0"s));
    conv.SetLink(kService, "ANDERS$");
    EXPECT_FALSE(conv.OpenLink(false));
    EXPECT_FALSE(conv.PokeData("Call", "vier\r\n\0"s));
    EXPECT_EQ(Pokes().size(), 2u);
}

TEST_F(CallerConvTest, ARefusedPokeIsNotDelivered) {
    Start(Answer::Refuse);
    DdeClientConnector connector;
    EXPECT_FALSE(connector.PokeClient({kService, "TELVC$", "Call", false}, "x\r\n\0"s));
    EXPECT_EQ(Pokes().size(), 1u);
}

TEST_F(CallerConvTest, AClientThatNeverAnswersCostsOneTimeOutForPokeAndGoodbye) {
    Start(Answer::Hang);
    constexpr DWORD kTimeout = 500;
    CallerConv conv(kTimeout);
    conv.SetLink(kService, "TELVC$");
    ASSERT_TRUE(conv.OpenLink(false));
    const DWORD start = GetTickCount();
    EXPECT_FALSE(conv.PokeData("Call", "x\r\n\0"s));
    conv.CloseLink();
    const DWORD spent = GetTickCount() - start;
    EXPECT_TRUE(client_.hanging);
    // Far below what a wait for the hung client's goodbye would take (it answers only when
    // released, at the end of the test).
    EXPECT_LT(spent, 10 * kTimeout);

    // Once it answers again, its late acknowledgement is taken in passing and the next link
    // works as before.
    client_.answer = Answer::Take;
    SetEvent(client_.release);
    conv.SetLink(kService, "TELVC$");
    ASSERT_TRUE(conv.OpenLink(false));
    EXPECT_TRUE(conv.PokeData("Call", "y\r\n\0"s));
    conv.CloseLink();
    EXPECT_EQ(Pokes().size(), 2u);
}

TEST(CallerConv, NamesNoServerCanHaveAreNotTried) {
    CallerConv conv;
    conv.SetLink(std::string(300, 'x') + "NDDE$", "TELVC$");
    EXPECT_FALSE(conv.OpenLink(false));
    conv.SetLink("NDDE$", "TELVC$");  // the id of an empty registration
    EXPECT_FALSE(conv.OpenLink(false));
    EXPECT_FALSE(conv.PokeData("Call", "x"));
}

}  // namespace
}  // namespace telvor
