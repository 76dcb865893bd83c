#include "capi/win/CapiLine.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CapiSimClient.h"
#include "capi/win/CapiLibrary.h"
#include "support/WinTestSupport.h"

namespace telvor {
namespace {

using capisim::Bytes;

using wintest::PumpFor;

// The wait thread's hand-over can take longer than a window's reaction.
bool PumpUntil(const std::function<bool()>& done) {
    return wintest::PumpUntil(done, 10000);
}

Bytes Raw(std::initializer_list<std::uint8_t> bytes) {
    return Bytes(bytes);
}

// A CONNECT_IND as a library sends it, with a chosen message number.
Bytes ConnectIndMessage(std::uint16_t applId, std::uint16_t number, std::uint32_t plci,
                        std::uint16_t cip, const Bytes& called, const Bytes& calling) {
    Bytes m{0,    0,    static_cast<std::uint8_t>(applId), static_cast<std::uint8_t>(applId >> 8),
            0x02, 0x82, static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8)};
    for (int i = 0; i < 4; ++i) m.push_back(static_cast<std::uint8_t>(plci >> (8 * i)));
    m.push_back(static_cast<std::uint8_t>(cip));
    m.push_back(static_cast<std::uint8_t>(cip >> 8));
    m.insert(m.end(), called.begin(), called.end());
    m.insert(m.end(), calling.begin(), calling.end());
    m.insert(m.end(), {0, 0, 0, 0, 0, 0, 0});  // subaddresses, BC, LLC, HLC, additional info
    m[0] = static_cast<std::uint8_t>(m.size());
    return m;
}

Bytes DisconnectIndMessage(std::uint16_t applId, std::uint16_t number, std::uint32_t plci,
                           std::uint16_t reason) {
    return {14,
            0,
            static_cast<std::uint8_t>(applId),
            static_cast<std::uint8_t>(applId >> 8),
            0x04,
            0x82,
            static_cast<std::uint8_t>(number),
            static_cast<std::uint8_t>(number >> 8),
            static_cast<std::uint8_t>(plci),
            static_cast<std::uint8_t>(plci >> 8),
            static_cast<std::uint8_t>(plci >> 16),
            static_cast<std::uint8_t>(plci >> 24),
            static_cast<std::uint8_t>(reason),
            static_cast<std::uint8_t>(reason >> 8)};
}

Bytes ListenReq(std::uint8_t applId, std::uint8_t controller, bool on) {
    return {26,
            0,
            applId,
            0,
            0x05,
            0x80,
            0,
            0,
            controller,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            static_cast<std::uint8_t>(on ? 0xFF : 0),
            static_cast<std::uint8_t>(on ? 0x03 : 0),
            static_cast<std::uint8_t>(on ? 0xFF : 0),
            static_cast<std::uint8_t>(on ? 0x1F : 0),
            0,
            0,
            0,
            0,
            0,
            0};
}

struct ConnectCall {
    std::int32_t plci;
    std::uint16_t cip;
    std::string called, calling, calledSub, callingSub;
};

class TCapiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The simulator beside this program, by its full path, as the program's table.
        const std::string dll = wintest::BinDir() + "\\Capi2032.dll";
        DWORD error = 0;
        auto binding = BindCapiLibrary(dll.c_str(), error);
        ASSERT_TRUE(binding) << "cannot bind " << dll << ": " << error;
        binding_ = std::move(*binding);
        ASSERT_TRUE(sim_.Connect(10000)) << sim_.LastError();
    }

    void TearDown() override {
        capi_.reset();
        PumpFor(50);
    }

    TCAPI& Make() {
        capi_ = std::make_unique<TCAPI>(nullptr, binding_.functions,
                                        [this](HWND) { ++controllerMissingReports_; });
        return *capi_;
    }

    std::vector<Bytes> Puts() { return sim_.PutLog(); }

    // Pumps until the simulator has logged a message with this command and subcommand.
    bool PumpUntilPut(std::uint8_t command, std::uint8_t subcommand, std::size_t atLeast = 1) {
        return PumpUntil([&] {
            std::size_t n = 0;
            for (const auto& m : sim_.PutLog()) {
                if (capisim::Command(m) == command && capisim::Subcommand(m) == subcommand) ++n;
            }
            return n >= atLeast;
        });
    }

    void RecordConnects(TCAPI& capi) {
        capi.OnConnectInd = [this](std::int32_t plci, std::uint16_t cip, const std::string& a,
                                   const std::string& b, const std::string& c,
                                   const std::string& d) {
            calls_.push_back({plci, cip, a, b, c, d});
        };
    }

    CapiBinding binding_;
    capisim::Client sim_;
    std::unique_ptr<TCAPI> capi_;
    int controllerMissingReports_ = 0;
    std::vector<ConnectCall> calls_;
};

TEST_F(TCapiTest, ListensOnceOnConstructionAndStopsOnClose) {
    TCAPI& capi = Make();
    EXPECT_EQ(controllerMissingReports_, 0);
    EXPECT_EQ(capi.Controller, 1);
    EXPECT_TRUE(capi.Listening);
    const auto appl = static_cast<std::uint8_t>(capi.ApplID);
    EXPECT_NE(capi.ApplID, 0u);

    capi.SetListen(true);  // already listening: nothing sent
    ASSERT_EQ(Puts(), std::vector<Bytes>{ListenReq(appl, 1, true)});
    // The LISTEN_CONF comes back through the wait thread and leaves Info 0.
    capi.LastError = 0xFFFF;
    ASSERT_TRUE(PumpUntil([&] { return capi.LastError == 0; }));

    capi.Close();
    capi.SetListen(false);  // already off
    EXPECT_FALSE(capi.Listening);
    EXPECT_EQ(Puts(), (std::vector<Bytes>{ListenReq(appl, 1, true), ListenReq(appl, 1, false)}));
    const auto events = sim_.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "REGISTER " + std::to_string(appl));
    EXPECT_EQ(events.back(), "RELEASE " + std::to_string(appl));

    // Destruction after a Close releases nothing a second time.
    capi_.reset();
    EXPECT_EQ(sim_.Events(), events);
}

TEST_F(TCapiTest, CloseThenOpenRegistersAnewAndTheNewThreadDeliversCalls) {
    TCAPI& capi = Make();
    RecordConnects(capi);
    const std::uint32_t first = capi.ApplID;
    capi.Close();
    capi.Open();
    EXPECT_NE(capi.ApplID, first);
    EXPECT_TRUE(capi.Listening);
    const auto events = sim_.Events();
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events[0], "REGISTER " + std::to_string(first));
    EXPECT_NE(std::find(events.begin(), events.end(), "RELEASE " + std::to_string(first)),
              events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "REGISTER " + std::to_string(capi.ApplID)),
              events.end());
    EXPECT_EQ(Puts().back(), ListenReq(static_cast<std::uint8_t>(capi.ApplID), 1, true));

    ASSERT_TRUE(sim_.OfferConnectInd(0x101, 1, capisim::NumberStruct(0x81, "4711"),
                                     capisim::CallingNumberStruct(0x21, 0x83, "0711123"),
                                     capisim::EmptyStruct(), capisim::EmptyStruct()));
    ASSERT_TRUE(PumpUntil([&] { return calls_.size() == 1; }));
    EXPECT_EQ(calls_[0].plci, 0x101);
    EXPECT_EQ(calls_[0].called, "4711");
    EXPECT_EQ(calls_[0].calling,
              "\x21\x83"
              "0711123");
}

TEST_F(TCapiTest, SetControllerBeyondTheInstalledCountStoresOneAndSendsNothing) {
    ASSERT_TRUE(sim_.SetControllers(2));
    TCAPI& capi = Make();
    EXPECT_EQ(capi.GetControllerCount(), 2);
    const auto before = Puts();
    capi.SetController(5);
    EXPECT_EQ(capi.Controller, 1);
    capi.SetController(2);
    EXPECT_EQ(capi.Controller, 2);
    capi.SetController(0);
    EXPECT_EQ(capi.Controller, 0);
    capi.SetController(2);
    EXPECT_EQ(Puts(), before);

    // The new controller is used by the next registration's LISTEN_REQ.
    capi.Close();
    capi.Open();
    EXPECT_EQ(Puts().back(), ListenReq(static_cast<std::uint8_t>(capi.ApplID), 2, true));
}

TEST_F(TCapiTest, NoControllerIsReportedOnceAndTheComponentStillOpens) {
    ASSERT_TRUE(sim_.SetControllers(0));
    TCAPI& capi = Make();
    EXPECT_EQ(controllerMissingReports_, 1);
    EXPECT_EQ(capi.GetControllerCount(), 0);
    EXPECT_TRUE(capi.Listening);
    ASSERT_FALSE(Puts().empty());
    EXPECT_EQ(Puts().front(), ListenReq(static_cast<std::uint8_t>(capi.ApplID), 1, true));
}

TEST_F(TCapiTest, DisconnectIndIsAnsweredWithItsNumberBeforeTheEvent) {
    TCAPI& capi = Make();
    const auto appl = static_cast<std::uint16_t>(capi.ApplID);
    std::vector<Bytes> logAtEvent;
    std::vector<std::pair<std::int32_t, std::uint16_t>> events;
    capi.OnDisconnectInd = [&](std::int32_t plci, std::uint16_t reason) {
        logAtEvent = Puts();
        events.emplace_back(plci, reason);
    };
    ASSERT_TRUE(sim_.OfferRaw(DisconnectIndMessage(appl, 0x4242, 0x80000201, 0x3490)));
    ASSERT_TRUE(PumpUntil([&] { return !events.empty(); }));
    EXPECT_EQ(events[0],
              std::make_pair(static_cast<std::int32_t>(0x80000201), std::uint16_t{0x3490}));
    ASSERT_FALSE(logAtEvent.empty());
    EXPECT_EQ(logAtEvent.back(), Raw({12, 0, static_cast<std::uint8_t>(appl), 0, 0x04, 0x83, 0x42,
                                      0x42, 0x01, 0x02, 0x00, 0x80}));

    // Without a handler the indication is answered all the same.
    capi.OnDisconnectInd = nullptr;
    ASSERT_TRUE(sim_.OfferRaw(DisconnectIndMessage(appl, 0x0102, 0x301, 0)));
    ASSERT_TRUE(PumpUntilPut(0x04, 0x83, 2));
    EXPECT_EQ(Puts().back(), Raw({12, 0, static_cast<std::uint8_t>(appl), 0, 0x04, 0x83, 0x02, 0x01,
                                  0x01, 0x03, 0, 0}));
}

TEST_F(TCapiTest, ConnectIndWithoutHandlerStaysUnanswered) {
    TCAPI& capi = Make();
    const auto appl = static_cast<std::uint16_t>(capi.ApplID);
    ASSERT_TRUE(sim_.OfferConnectInd(0x101, 1, capisim::NumberStruct(0x81, "1"),
                                     capisim::EmptyStruct(), capisim::EmptyStruct(),
                                     capisim::EmptyStruct()));
    // Messages are handled in order: once this clearing is answered, the call was seen.
    ASSERT_TRUE(sim_.OfferRaw(DisconnectIndMessage(appl, 9, 0x101, 0)));
    ASSERT_TRUE(PumpUntilPut(0x04, 0x83));
    const auto puts = Puts();
    ASSERT_EQ(puts.size(), 2u);
    EXPECT_EQ(capisim::Command(puts[0]), 0x05);
    EXPECT_EQ(capisim::Command(puts[1]), 0x04);
}

TEST_F(TCapiTest, RejectingAHeldCallSendsTheExactMessagesInOrder) {
    TCAPI& capi = Make();
    const auto appl = static_cast<std::uint8_t>(capi.ApplID);
    std::vector<std::int32_t> cleared;
    capi.OnConnectInd = [&](std::int32_t plci, std::uint16_t cip, const std::string& called,
                            const std::string& calling, const std::string&, const std::string&) {
        calls_.push_back({plci, cip, called, calling, {}, {}});
        capi.AlertReq(plci);  // hold, so that the call can be rejected later
    };
    capi.OnDisconnectInd = [&](std::int32_t plci, std::uint16_t) { cleared.push_back(plci); };

    ASSERT_TRUE(sim_.OfferRaw(ConnectIndMessage(appl, 0x1234, 0x00010201, 17,
                                                {4, 0x81, '1', '2', '3'}, {2, 0x01, 0x80})));
    ASSERT_TRUE(PumpUntil([&] { return calls_.size() == 1; }));
    EXPECT_EQ(calls_[0].cip, 17);
    EXPECT_EQ(calls_[0].called, "123");
    EXPECT_EQ(calls_[0].calling, "\x01\x80");
    ASSERT_TRUE(PumpUntilPut(0x01, 0x80));  // ALERT_REQ

    // "Abweisen": accept, then clear at once.
    capi.ConnectResp(0x00010201, 0);
    capi.DisconnectReq(0x00010201);
    ASSERT_TRUE(PumpUntil([&] { return !cleared.empty(); }));
    EXPECT_EQ(cleared, std::vector<std::int32_t>{0x00010201});

    const auto puts = Puts();
    ASSERT_EQ(puts.size(), 5u);
    EXPECT_EQ(puts[0], ListenReq(appl, 1, true));
    EXPECT_EQ(puts[1], Raw({16, 0, appl, 0, 0x01, 0x80, 0, 0, 0x01, 0x02, 0x01, 0, 0, 0, 0, 0}));
    // The response repeats the CONNECT_IND's message number.
    EXPECT_EQ(puts[2], Raw({19, 0, appl, 0, 0x02, 0x83, 0x34, 0x12, 0x01, 0x02, 0x01, 0, 0, 0, 0, 0,
                            0, 0, 0}));
    EXPECT_EQ(puts[3], Raw({13, 0, appl, 0, 0x04, 0x80, 0, 0, 0x01, 0x02, 0x01, 0, 0}));
    EXPECT_EQ(capisim::Command(puts[4]), 0x04);
    EXPECT_EQ(capisim::Subcommand(puts[4]), 0x83);
    EXPECT_EQ(capisim::Plci(puts[4]), 0x00010201u);
}

TEST_F(TCapiTest, EventsOfOneRegistrationNeverRunNestedEvenInAModalLoop) {
    TCAPI& capi = Make();
    int depth = 0, maxDepth = 0;
    std::vector<std::int32_t> order;
    capi.OnConnectInd = [&](std::int32_t plci, std::uint16_t, const std::string&,
                            const std::string&, const std::string&, const std::string&) {
        maxDepth = std::max(maxDepth, ++depth);
        order.push_back(plci);
        if (order.size() == 1) {
            capi.ConnectResp(plci, 1);
            PumpFor(700);  // like a modal dialog: the message loop runs inside the handler
        }
        --depth;
    };
    for (std::uint32_t plci : {0x101u, 0x201u}) {
        ASSERT_TRUE(sim_.OfferConnectInd(plci, 1, capisim::EmptyStruct(), capisim::EmptyStruct(),
                                         capisim::EmptyStruct(), capisim::EmptyStruct()));
    }
    ASSERT_TRUE(PumpUntil([&] { return order.size() == 2; }));
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(order, (std::vector<std::int32_t>{0x101, 0x201}));
}

TEST_F(TCapiTest, ReinitialisingInsideAHandlerKeepsTheLineWorking) {
    TCAPI& capi = Make();
    const std::uint32_t first = capi.ApplID;
    capi.OnConnectInd = [&](std::int32_t plci, std::uint16_t cip, const std::string&,
                            const std::string&, const std::string&, const std::string&) {
        calls_.push_back({plci, cip, {}, {}, {}, {}});
        capi.ConnectResp(plci, 1);
        capi.Close();
        capi.Open();
    };
    ASSERT_TRUE(sim_.OfferConnectInd(0x101, 1, capisim::EmptyStruct(), capisim::EmptyStruct(),
                                     capisim::EmptyStruct(), capisim::EmptyStruct()));
    ASSERT_TRUE(PumpUntil([&] { return calls_.size() == 1; }));
    EXPECT_NE(capi.ApplID, first);
    ASSERT_TRUE(sim_.OfferConnectInd(0x201, 1, capisim::EmptyStruct(), capisim::EmptyStruct(),
                                     capisim::EmptyStruct(), capisim::EmptyStruct()));
    ASSERT_TRUE(PumpUntil([&] { return calls_.size() == 2; }));
    EXPECT_EQ(calls_[1].plci, 0x201);
}

TEST_F(TCapiTest, ALeftOverThreadNeverReachesADestroyedComponent) {
    Make();
    capi_.reset();  // its thread may still be on its way out of the library
    PumpFor(200);
    // A call offered now waits for the next registration: only the new component sees it.
    ASSERT_TRUE(sim_.OfferConnectInd(0x101, 1, capisim::EmptyStruct(), capisim::EmptyStruct(),
                                     capisim::EmptyStruct(), capisim::EmptyStruct()));
    TCAPI& capi = Make();
    RecordConnects(capi);
    ASSERT_TRUE(PumpUntil([&] { return calls_.size() == 1; }));
    EXPECT_EQ(calls_[0].plci, 0x101);
}

TEST_F(TCapiTest, WaitPriorityStartsLowestAndFallsBackForUnknownIndexes) {
    TCAPI& capi = Make();
    ASSERT_TRUE(capi.WaitThread);
    const HANDLE thread = capi.WaitThread->Handle();
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_LOWEST);
    capi.SetWaitPriority(4);
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_ABOVE_NORMAL);
    capi.SetWaitPriority(42);
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_LOWEST);
    capi.SetWaitPriority(3);
    capi.Close();
    capi.Open();  // a new thread starts at the lowest priority again
    EXPECT_EQ(GetThreadPriority(capi.WaitThread->Handle()), THREAD_PRIORITY_LOWEST);
}

TEST_F(TCapiTest, MalformedMessagesAreSurvivedAndLaterCallsStillArrive) {
    TCAPI& capi = Make();
    RecordConnects(capi);
    const auto appl = static_cast<std::uint8_t>(capi.ApplID);
    // A called number that claims far more octets than the message holds, a message shorter
    // than its fixed part, and an unknown command.
    Bytes lying = ConnectIndMessage(appl, 1, 0x101, 1, {0xFF, 0xFF, 0xFF, 0x81, '5'}, {});
    ASSERT_TRUE(sim_.OfferRaw(lying));
    ASSERT_TRUE(sim_.OfferRaw(Raw({10, 0, appl, 0, 0x02, 0x82, 0, 0, 1, 1})));
    ASSERT_TRUE(sim_.OfferRaw(Raw({12, 0, appl, 0, 0x7E, 0x82, 0, 0, 1, 1, 0, 0})));
    ASSERT_TRUE(sim_.OfferConnectInd(0x201, 2, capisim::NumberStruct(0x81, "9"),
                                     capisim::EmptyStruct(), capisim::EmptyStruct(),
                                     capisim::EmptyStruct()));
    ASSERT_TRUE(PumpUntil([&] { return calls_.size() == 2; }));
    EXPECT_EQ(calls_[0].plci, 0x101);
    EXPECT_EQ(calls_[1].plci, 0x201);
    EXPECT_EQ(calls_[1].called, "9");
    EXPECT_EQ(Puts().size(), 1u);  // nothing answered on the program's behalf
}

// The program unloads the library right after its last Close. A library whose wait returns
// only a while after the release must still be mapped while the wait thread leaves it, and
// must go once the thread is gone.
TEST(CapiLibraryUnload, TheWaitThreadKeepsTheLibraryUntilItHasLeftIt) {
    const std::string dll = test::BinFile("LateWait.dll");
    ASSERT_EQ(GetModuleHandleA("LateWait.dll"), nullptr);
    ASSERT_TRUE(LoadCapiLibrary(dll.c_str(), {}));
    HANDLE thread = nullptr;
    {
        TCAPI capi(nullptr, CapiFunctions, {});
        ASSERT_TRUE(capi.WaitThread && capi.WaitThread->Created());
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), capi.WaitThread->Handle(),
                                    GetCurrentProcess(), &thread, SYNCHRONIZE, FALSE, 0));
        PumpFor(100);  // the thread is now blocked in the library's wait
        // Leaving the scope releases: the wait returns only after the library's late pause.
    }
    FreeCapiLibrary();
    // Still mapped: the thread's own reference holds it while the wait is on its way back.
    EXPECT_NE(GetModuleHandleA("LateWait.dll"), nullptr);

    const DWORD waited = WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "the wait thread did not end";
    EXPECT_EQ(GetModuleHandleA("LateWait.dll"), nullptr)
        << "the thread's reference to the library was not dropped";
}

}  // namespace
}  // namespace telvor
