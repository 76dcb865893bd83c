// The line simulator as the monitor sees it: Capi2032.dll loaded from the test's folder,
// driven through its six entry points and through the control pipe of the same process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "CapiSimClient.h"
#include "base/win/Handles.h"
#include "support/WinTestSupport.h"

namespace {

using capisim::Bytes;
using namespace std::chrono_literals;

using RegisterFn = DWORD(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*);
using ReleaseFn = DWORD(WINAPI*)(DWORD);
using PutFn = DWORD(WINAPI*)(DWORD, LPVOID);
using GetFn = DWORD(WINAPI*)(DWORD, LPVOID*);
using WaitFn = DWORD(WINAPI*)(DWORD);
using ProfileFn = DWORD(WINAPI*)(LPVOID, DWORD);

constexpr DWORD kIllegalApplId = 0x1101;
constexpr DWORD kQueueEmpty = 0x1104;

using telvor::wintest::BinDir;

class CapiSim : public ::testing::Test {
  protected:
    // Environment the DLL reads when it loads; set before LoadLibrary by tests that need it.
    virtual void BeforeLoad() {}

    void SetUp() override {
        BeforeLoad();
        lib_.reset(LoadLibraryA((BinDir() + "\\Capi2032.dll").c_str()));
        ASSERT_TRUE(lib_) << "LoadLibrary failed: " << GetLastError();
        reg_ = Resolve<RegisterFn>("CAPI_REGISTER");
        rel_ = Resolve<ReleaseFn>("CAPI_RELEASE");
        put_ = Resolve<PutFn>("CAPI_PUT_MESSAGE");
        get_ = Resolve<GetFn>("CAPI_GET_MESSAGE");
        wait_ = Resolve<WaitFn>("CAPI_WAIT_FOR_SIGNAL");
        profile_ = Resolve<ProfileFn>("CAPI_GET_PROFILE");
        ASSERT_TRUE(reg_ && rel_ && put_ && get_ && wait_ && profile_);
        ASSERT_TRUE(client_.Connect(10000)) << client_.LastError();
    }

    template <class F>
    F Resolve(const char* name) {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(lib_.get(), name)));
    }

    DWORD Register() {
        DWORD id = 0;
        EXPECT_EQ(reg_(3072, 2, 7, 2048, &id), 0u);
        return id;
    }

    DWORD Put(DWORD appl, Bytes msg) { return put_(appl, msg.data()); }

    // The next message of appl as bytes of its own length field, or empty when none.
    Bytes Get(DWORD appl, DWORD* result = nullptr) {
        LPVOID p = nullptr;
        const DWORD r = get_(appl, &p);
        if (result) *result = r;
        if (r != 0 || p == nullptr) return {};
        const auto* b = static_cast<const std::uint8_t*>(p);
        return Bytes(b, b + (b[0] | (b[1] << 8)));
    }

    std::uint16_t ControllerCount() {
        std::uint8_t buf[64];
        std::memset(buf, 0xAA, sizeof buf);
        EXPECT_EQ(profile_(buf, 0), 0u);
        return static_cast<std::uint16_t>(buf[0] | (buf[1] << 8));
    }

    telvor::UniqueModule lib_;
    RegisterFn reg_ = nullptr;
    ReleaseFn rel_ = nullptr;
    PutFn put_ = nullptr;
    GetFn get_ = nullptr;
    WaitFn wait_ = nullptr;
    ProfileFn profile_ = nullptr;
    capisim::Client client_;
};

Bytes Msg(std::uint8_t cmd, std::uint8_t sub, std::uint16_t appl, std::uint16_t number,
          Bytes params) {
    Bytes m(8 + params.size(), 0);
    m[2] = static_cast<std::uint8_t>(appl);
    m[3] = static_cast<std::uint8_t>(appl >> 8);
    m[4] = cmd;
    m[5] = sub;
    m[6] = static_cast<std::uint8_t>(number);
    m[7] = static_cast<std::uint8_t>(number >> 8);
    std::copy(params.begin(), params.end(), m.begin() + 8);
    m[0] = static_cast<std::uint8_t>(m.size());
    m[1] = static_cast<std::uint8_t>(m.size() >> 8);
    return m;
}

const Bytes kPlci101{0x01, 0x01, 0x00, 0x00};

// Runs fn on a detached thread: a call that wrongly stays blocked fails the test instead of
// hanging it (the process ends with the thread still blocked).
template <class Fn>
std::future<DWORD> RunDetached(Fn fn) {
    std::packaged_task<DWORD()> task(std::move(fn));
    auto result = task.get_future();
    std::thread(std::move(task)).detach();
    return result;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(CapiSim, RegisterHandsOutIdsAndReleaseEndsThem) {
    EXPECT_EQ(Register(), 1u);
    EXPECT_EQ(Register(), 2u);
    EXPECT_EQ(Register(), 3u);
    EXPECT_EQ(reg_(3072, 2, 7, 2048, nullptr), 0x1008u);

    EXPECT_EQ(rel_(2), 0u);
    EXPECT_EQ(rel_(2), kIllegalApplId);
    EXPECT_EQ(Put(2, Msg(0x05, 0x80, 2, 0, Bytes(18, 0))), kIllegalApplId);
    DWORD r = 0;
    Get(2, &r);
    EXPECT_EQ(r, kIllegalApplId);
    EXPECT_EQ(wait_(2), kIllegalApplId);  // returns at once, does not block
    EXPECT_EQ(rel_(0), kIllegalApplId);
    EXPECT_EQ(rel_(99), kIllegalApplId);
    // A released id is not handed out again.
    EXPECT_EQ(Register(), 4u);

    Get(1, &r);
    EXPECT_EQ(r, kQueueEmpty);

    const auto events = client_.Events();
    ASSERT_GE(events.size(), 6u);
    EXPECT_EQ(events[0], "REGISTER 1");
    EXPECT_EQ(events[1], "REGISTER 2");
    EXPECT_EQ(events[2], "REGISTER 3");
    EXPECT_EQ(events[3], "RELEASE 2");
    EXPECT_THAT(events[4], ::testing::StartsWith("PUT 2 1A000200058000"));
    EXPECT_THAT(events[4], ::testing::EndsWith(" REFUSED 0x1101"));
    EXPECT_EQ(events[5], "REGISTER 4");
}

TEST_F(CapiSim, ProfileReportsTheControllerCountSetAtRunTime) {
    EXPECT_EQ(ControllerCount(), 1u);  // default without CAPISIM_CONTROLLERS

    ASSERT_TRUE(client_.SetControllers(0)) << client_.LastError();
    std::uint8_t buf[64];
    std::memset(buf, 0xAA, sizeof buf);
    EXPECT_EQ(profile_(buf, 0), 0u);
    EXPECT_EQ(std::vector<std::uint8_t>(buf, buf + 64), std::vector<std::uint8_t>(64, 0));
    EXPECT_EQ(profile_(buf, 1), 0x2002u);  // no such controller now

    ASSERT_TRUE(client_.SetControllers(2));
    EXPECT_EQ(ControllerCount(), 2u);
    EXPECT_EQ(profile_(buf, 2), 0u);
    EXPECT_EQ(buf[0], 2);
    EXPECT_EQ(profile_(buf, 3), 0x2002u);

    EXPECT_FALSE(client_.SetControllers(128));  // controller numbers are 7 bits
    EXPECT_EQ(ControllerCount(), 2u);
}

class CapiSimNoController : public CapiSim {
    void BeforeLoad() override { SetEnvironmentVariableA("CAPISIM_CONTROLLERS", "0"); }
};

TEST_F(CapiSimNoController, ControllerCountComesFromTheEnvironment) {
    EXPECT_EQ(ControllerCount(), 0u);
    // Registering still works, so a monitor can start, see no controller and end.
    EXPECT_EQ(Register(), 1u);
}

TEST_F(CapiSim, WaitForSignalReturnsWhenAMessageIsQueuedAndOnRelease) {
    const DWORD appl = Register();
    auto waiter = RunDetached([wait = wait_, appl] { return wait(appl); });
    EXPECT_EQ(waiter.wait_for(200ms), std::future_status::timeout)
        << "returned with nothing queued";
    ASSERT_TRUE(client_.OfferDisconnectInd(0x101, 0x3490));
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(waiter.get(), 0u);
    // Still queued: a second wait returns at once.
    EXPECT_EQ(wait_(appl), 0u);

    auto blocked = RunDetached([get = get_, wait = wait_, appl] {
        LPVOID p = nullptr;
        get(appl, &p);
        return wait(appl);
    });
    EXPECT_EQ(blocked.wait_for(200ms), std::future_status::timeout);
    EXPECT_EQ(rel_(appl), 0u);
    ASSERT_EQ(blocked.wait_for(5s), std::future_status::ready) << "release left the wait blocked";
    EXPECT_EQ(blocked.get(), kIllegalApplId);
}

TEST_F(CapiSim, RequestsAreConfirmedWithTheirMessageNumbers) {
    const DWORD appl = Register();
    const std::uint8_t a = static_cast<std::uint8_t>(appl);
    DWORD r = 0;

    // LISTEN_REQ, controller 1, all services.
    ASSERT_EQ(Put(appl, Msg(0x05, 0x80, a, 0x1234,
                            {1, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x03, 0xFF, 0x1F, 0, 0, 0, 0, 0, 0})),
              0u);
    EXPECT_EQ(Get(appl), (Bytes{14, 0, a, 0, 0x05, 0x81, 0x34, 0x12, 1, 0, 0, 0, 0, 0}));

    ASSERT_EQ(Put(appl, Msg(0x01, 0x80, a, 7, Cat({kPlci101, {0, 0, 0, 0}}))), 0u);
    EXPECT_EQ(Get(appl), Cat({{14, 0, a, 0, 0x01, 0x81, 7, 0}, kPlci101, {0, 0}}));

    // CONNECT_RESP accepting: the call becomes active.
    ASSERT_EQ(Put(appl, Msg(0x02, 0x83, a, 0, Cat({kPlci101, {0, 0, 0, 0, 0, 0, 0}}))), 0u);
    const Bytes active = Get(appl);
    EXPECT_EQ(capisim::Command(active), 0x03);
    EXPECT_EQ(capisim::Subcommand(active), 0x82);
    EXPECT_EQ(capisim::Plci(active), 0x101u);
    EXPECT_EQ(capisim::TotalLength(active), 15u);
    EXPECT_EQ(capisim::ApplId(active), appl);

    // DISCONNECT_REQ: confirmation with the request's number, then the indication.
    ASSERT_EQ(Put(appl, Msg(0x04, 0x80, a, 0x4242, Cat({kPlci101, {0}}))), 0u);
    EXPECT_EQ(Get(appl), Cat({{14, 0, a, 0, 0x04, 0x81, 0x42, 0x42}, kPlci101, {0, 0}}));
    const Bytes ind = Get(appl);
    EXPECT_EQ(capisim::Command(ind), 0x04);
    EXPECT_EQ(capisim::Subcommand(ind), 0x82);
    EXPECT_EQ(capisim::Plci(ind), 0x101u);
    EXPECT_GT(capisim::MessageNumber(ind), capisim::MessageNumber(active));

    // CONNECT_RESP ignoring (Reject 1): the call is cleared with a DISCONNECT_IND.
    const Bytes plci202{0x02, 0x02, 0, 0};
    ASSERT_EQ(Put(appl, Msg(0x02, 0x83, a, 0, Cat({plci202, {1, 0, 0, 0, 0, 0, 0}}))), 0u);
    const Bytes cleared = Get(appl);
    EXPECT_EQ(capisim::Command(cleared), 0x04);
    EXPECT_EQ(capisim::Subcommand(cleared), 0x82);
    EXPECT_EQ(capisim::Plci(cleared), 0x202u);
    EXPECT_EQ(capisim::TotalLength(cleared), 14u);
    EXPECT_GT(capisim::MessageNumber(cleared), capisim::MessageNumber(ind));

    // Responses and unknown messages are logged and get no answer; too short is refused.
    EXPECT_EQ(Put(appl, Msg(0x04, 0x83, a, 0, kPlci101)), 0u);
    EXPECT_EQ(Put(appl, Msg(0x41, 0x80, a, 0, Cat({kPlci101, {0, 0, 0}}))), 0u);
    EXPECT_EQ(Put(appl, Bytes{8, 0, a, 0, 0x05, 0x80, 0, 0}), 0x1102u);
    Get(appl, &r);
    EXPECT_EQ(r, kQueueEmpty);
}

TEST_F(CapiSim, PutLogHoldsEveryMessageInOrderAsBytes) {
    const DWORD appl = Register();
    const std::uint8_t a = static_cast<std::uint8_t>(appl);
    const Bytes alert = Msg(0x01, 0x80, a, 0, Cat({kPlci101, {0, 0, 0, 0}}));
    const Bytes resp = Msg(0x02, 0x83, a, 9, Cat({kPlci101, {1, 0, 0, 0, 0, 0, 0}}));
    const Bytes odd = Msg(0x7F, 0x80, a, 0, Bytes(300, 0x5A));  // unknown, longer than 255
    ASSERT_EQ(Put(appl, alert), 0u);
    ASSERT_EQ(Put(appl, resp), 0u);
    ASSERT_EQ(Put(appl, odd), 0u);
    EXPECT_EQ(client_.PutLog(), (std::vector<Bytes>{alert, resp, odd}));
    EXPECT_TRUE(client_.WaitForPut(3, 1000));
    EXPECT_TRUE(client_.WaitForPut(
        [](const Bytes& m) {
            return capisim::Command(m) == 0x02 && capisim::Subcommand(m) == 0x83;
        },
        1000));
    EXPECT_FALSE(
        client_.WaitForPut([](const Bytes& m) { return capisim::Command(m) == 0x05; }, 300));

    ASSERT_TRUE(client_.ClearLog());
    EXPECT_TRUE(client_.PutLog().empty());
    EXPECT_TRUE(client_.Events().empty());
    EXPECT_FALSE(client_.WaitForPut(1, 200));

    // A put from another thread ends a wait that is already running.
    std::thread later([&] {
        std::this_thread::sleep_for(100ms);
        Put(appl, alert);
    });
    EXPECT_TRUE(client_.WaitForPut(1, 5000));
    later.join();
}

TEST_F(CapiSim, ConnectIndOfferedBeforeRegisterRingsAtRegister) {
    const Bytes called = capisim::NumberStruct(0x81, "4711");
    const Bytes calling = capisim::CallingNumberStruct(0x21, 0x83, "711123456");
    // A subaddress with an escaped length that lies about its contents.
    const Bytes calledSub{0xFF, 0x05, 0x00, 0x80, 0x31};
    ASSERT_TRUE(
        client_.OfferConnectInd(0x101, 17, called, calling, calledSub, capisim::EmptyStruct()))
        << client_.LastError();

    const DWORD appl = Register();
    ASSERT_EQ(wait_(appl), 0u);
    const Bytes got = Get(appl);
    const Bytes params = Cat({kPlci101, {17, 0}, called, calling, calledSub, {0}, {0, 0, 0, 0, 0}});
    Bytes expected = Cat({{0, 0, static_cast<std::uint8_t>(appl), 0, 0x02, 0x82, 0, 0}, params});
    expected[0] = static_cast<std::uint8_t>(expected.size());
    expected[6] = got.size() > 6 ? got[6] : 0;  // the simulator's own numbering
    expected[7] = got.size() > 7 ? got[7] : 0;
    EXPECT_EQ(got, expected);
    EXPECT_EQ(called, (Bytes{5, 0x81, '4', '7', '1', '1'}));
    EXPECT_EQ(calling[0], 11);
}

TEST_F(CapiSim, OffersGoToTheNewestRegisteredApplicationOrTheOneNamed) {
    const DWORD first = Register();
    const DWORD second = Register();
    ASSERT_TRUE(client_.OfferDisconnectInd(0x101, 0x3490));
    ASSERT_TRUE(client_.OfferDisconnectInd(0x102, 0x3490, static_cast<std::uint16_t>(first)));
    EXPECT_FALSE(client_.OfferDisconnectInd(0x103, 0, 77));
    EXPECT_FALSE(client_.LastError().empty());

    const Bytes toSecond = Get(second);
    EXPECT_EQ(capisim::Plci(toSecond), 0x101u);
    EXPECT_EQ(capisim::ApplId(toSecond), second);
    EXPECT_EQ(capisim::Word(toSecond, 12), 0x3490u);
    EXPECT_EQ(capisim::Plci(Get(first)), 0x102u);

    // With the newest released, the one before it is the newest still registered.
    ASSERT_EQ(rel_(second), 0u);
    ASSERT_TRUE(client_.OfferDisconnectInd(0x104, 0));
    EXPECT_EQ(capisim::Plci(Get(first)), 0x104u);
}

TEST_F(CapiSim, RawMessagesArriveAsGivenEvenWithALyingLength) {
    const DWORD appl = Register();
    // Claims 64 octets but carries 14: delivered as given, readable up to its claim.
    const Bytes lying{64, 0, 9, 9, 0x04, 0x82, 1, 0, 0x01, 0x01, 0, 0, 0x90, 0x34};
    ASSERT_TRUE(client_.OfferRaw(lying));
    LPVOID p = nullptr;
    ASSERT_EQ(get_(appl, &p), 0u);
    const auto* b = static_cast<const std::uint8_t*>(p);
    EXPECT_EQ(Bytes(b, b + lying.size()), lying);  // application id left as given
    EXPECT_EQ(Bytes(b + lying.size(), b + 64), Bytes(64 - lying.size(), 0));

    // Claims fewer octets than it carries.
    const Bytes shortClaim{4, 0, 1, 0, 0x02, 0x82, 0, 0, 1, 2, 3};
    ASSERT_TRUE(client_.OfferRaw(shortClaim));
    ASSERT_EQ(get_(appl, &p), 0u);
    b = static_cast<const std::uint8_t*>(p);
    EXPECT_EQ(Bytes(b, b + shortClaim.size()), shortClaim);

    EXPECT_FALSE(client_.OfferRaw({}));
    std::vector<std::string> lines;
    EXPECT_FALSE(client_.Request("RAW 0C0", lines));
    EXPECT_FALSE(client_.Request("CONNECT_IND 1 2 - -", lines));
    EXPECT_FALSE(client_.Request("NONSENSE", lines));
    EXPECT_TRUE(client_.Request("PING", lines));
}

// The wait thread and the main thread of the monitor call in at the same time; every
// offered message must arrive once and in order.
TEST_F(CapiSim, MessagesQueuedWhileAnotherThreadWaitsArriveInOrder) {
    const DWORD appl = Register();
    constexpr int kCount = 200;
    std::atomic<int> received{0};
    std::atomic<bool> inOrder{true};
    std::thread waiter([&] {
        while (received < kCount) {
            if (wait_(appl) != 0) return;
            const Bytes m = Get(appl);
            if (m.empty()) continue;
            if (capisim::Plci(m) != static_cast<std::uint32_t>(received.load())) inOrder = false;
            ++received;
        }
    });
    for (int i = 0; i < kCount; ++i) {
        ASSERT_TRUE(client_.OfferDisconnectInd(static_cast<std::uint32_t>(i), 0)) << i;
        if (i % 10 == 0) Put(appl, Msg(0x04, 0x83, static_cast<std::uint16_t>(appl), 0, kPlci101));
    }
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (received < kCount && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    rel_(appl);  // frees the waiter if anything was lost
    waiter.join();
    EXPECT_EQ(received.load(), kCount);
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(client_.PutLog().size(), static_cast<std::size_t>(kCount / 10));
}

class CapiSimWithLogFile : public CapiSim {
  protected:
    void BeforeLoad() override {
        char dir[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, dir);
        path_ = std::string(dir) + "capisim-test.log";
        DeleteFileA(path_.c_str());
        SetEnvironmentVariableA("CAPISIM_LOG", path_.c_str());
    }
    std::string path_;
};

TEST_F(CapiSimWithLogFile, EventsAreAppendedToTheLogFile) {
    const DWORD appl = Register();
    ASSERT_EQ(Put(appl, Msg(0x04, 0x83, 1, 0, kPlci101)), 0u);
    ASSERT_EQ(rel_(appl), 0u);
    std::ifstream in(path_);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    EXPECT_THAT(
        lines, ::testing::ElementsAre("REGISTER 1", "PUT 1 0C0001000483000001010000", "RELEASE 1"));
}

// Runs capisimctl from the test's folder against this process's simulator; its standard
// output goes to a file (Wine helpers keep pipes open). Returns the exit code, or -1.
int RunCtl(const std::string& args, std::string* output = nullptr) {
    char tmp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tmp);
    static int run = 0;
    const std::string outPath =
        std::string(tmp) + "capisimctl-out" + std::to_string(++run) + ".txt";
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    telvor::KernelHandle out(CreateFileA(outPath.c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         &sa, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return -1;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out.get();
    si.hStdError = out.get();
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + BinDir() + "\\capisimctl.exe\" " + args;
    const BOOL started = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    out.reset();
    if (!started) return -1;
    const telvor::KernelHandle process(pi.hProcess);
    const telvor::KernelHandle thread(pi.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.get(), &code);
    } else {
        TerminateProcess(process.get(), 99);
    }
    if (output) {
        std::ifstream in(outPath, std::ios::binary);
        output->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return static_cast<int>(code);
}

TEST_F(CapiSim, CapisimctlRingsLogsAndReportsFailureByExitCode) {
    if (GetFileAttributesA((BinDir() + "\\capisimctl.exe").c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "capisimctl.exe not built";
    }
    const DWORD appl = Register();
    ASSERT_EQ(RunCtl("ring --plci 0x101 --cip 1 --called 4711 --calling-type 0x21 "
                     "--calling 711123456"),
              0);
    const Bytes ind = Get(appl);
    const Bytes expected = Cat({kPlci101,
                                {1, 0},
                                capisim::NumberStruct(0x81, "4711"),
                                capisim::CallingNumberStruct(0x21, 0x80, "711123456"),
                                {0, 0},
                                {0, 0, 0, 0, 0}});
    ASSERT_GT(ind.size(), 8u);
    EXPECT_EQ(Bytes(ind.begin() + 8, ind.end()), expected);

    ASSERT_EQ(RunCtl("hangup --plci 0x101 --reason 0x3490"), 0);
    EXPECT_EQ(capisim::Word(Get(appl), 12), 0x3490u);

    ASSERT_EQ(Put(appl, Msg(0x04, 0x83, 1, 0, kPlci101)), 0u);
    std::string out;
    EXPECT_EQ(RunCtl("wait-put --command 0x04 --subcommand 0x83 --timeout 5000"), 0);
    EXPECT_NE(RunCtl("wait-put --command 0x05 --timeout 300", &out), 0);
    EXPECT_NE(out.find("capisimctl:"), std::string::npos) << out;
    EXPECT_EQ(RunCtl("log", &out), 0);
    EXPECT_NE(out.find("PUT 1 0C0001000483000001010000"), std::string::npos) << out;

    EXPECT_EQ(RunCtl("controllers 0"), 0);
    EXPECT_EQ(ControllerCount(), 0u);
    EXPECT_NE(RunCtl("controllers 500"), 0);
    EXPECT_NE(RunCtl("raw 0C0"), 0);
    EXPECT_NE(RunCtl("ring --plci nonsense"), 0);
    EXPECT_NE(RunCtl("ring --bogus 1"), 0);
    EXPECT_NE(RunCtl("frobnicate"), 0);
    EXPECT_EQ(ControllerCount(), 0u);
}

TEST(CapiSimStructs, BuildersEncodeLengthsAsTheStandardDoes) {
    EXPECT_EQ(capisim::EmptyStruct(), Bytes{0});
    EXPECT_EQ(capisim::NumberStruct(0x81, ""), (Bytes{1, 0x81}));
    EXPECT_EQ(capisim::CallingNumberStruct(0x01, 0x80, "12"), (Bytes{4, 0x01, 0x80, '1', '2'}));
    // 254 octets of contents still fit one length octet; 255 need the escaped form.
    EXPECT_EQ(capisim::NumberStruct(0x81, std::string(253, '1')).size(), 255u);
    const Bytes escaped = capisim::NumberStruct(0x81, std::string(254, '1'));
    ASSERT_EQ(escaped.size(), 258u);
    EXPECT_EQ(escaped[0], 0xFF);
    EXPECT_EQ(escaped[1], 0xFF);
    EXPECT_EQ(escaped[2], 0x00);
    EXPECT_EQ(escaped[3], 0x81);

    Bytes out;
    EXPECT_TRUE(capisim::FromHex("0c00FF", out));
    EXPECT_EQ(out, (Bytes{0x0C, 0x00, 0xFF}));
    EXPECT_EQ(capisim::ToHex(out), "0C00FF");
    EXPECT_FALSE(capisim::FromHex("0G", out));
    EXPECT_FALSE(capisim::FromHex("123", out));
    // Accessors never read past a short message.
    EXPECT_EQ(capisim::Plci(Bytes{1, 2, 3}), 0u);
    EXPECT_EQ(capisim::Command(Bytes{}), 0u);
}

}  // namespace
