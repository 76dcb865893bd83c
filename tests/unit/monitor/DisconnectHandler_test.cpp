// The clearing of a call: window marks, closing, the held-call count and the icon.
#include "monitor/PipelineFixture.h"

namespace telvor::test {
namespace {

using Events = std::vector<std::string>;

class DisconnectTest : public PipelineTest {
  protected:
    void SetUp() override {
        PipelineTest::SetUp();
        SetMsns({Msn("4711", "Büro")});
    }
    // Rings a shown call and forgets the effects of ringing.
    void RingShown(std::int32_t plci) {
        Ring(NationalNumber("711123456"), "4711", 1, plci);
        ports_.events.clear();
    }
};

TEST_F(DisconnectTest, ClearedHeldCallMarksItsWindowAndResetsTheIcon) {
    RingShown(-5);  // keys are signed decimal
    EXPECT_EQ(handlers_.Windows().Entries().at(0).key, "-5");
    Clear(-5);
    EXPECT_EQ(ports_.events,
              (Events{"reject off", "cleared", "icon normal", "notify", "front off"}));
    EXPECT_TRUE(handlers_.Windows().Empty());
    EXPECT_EQ(handlers_.HoldingCount(), 0);
}

TEST_F(DisconnectTest, CloseAfterConnectClosesTheWindow) {
    settings_.alert = false;
    settings_.closeAfterConnect = true;
    settings_.closeCallerForms = true;
    settings_.closeAfterTime = false;
    RingShown(7);
    Clear(7);
    EXPECT_EQ(ports_.events, (Events{"reject off", "close", "icon normal", "notify", "front off"}));

    // With Alert the close tests CloseAfterConnect alone: marked, then closed.
    settings_.alert = true;
    settings_.closeCallerForms = false;
    RingShown(8);
    Clear(8);
    EXPECT_EQ(Events(ports_.events.begin(), ports_.events.begin() + 3),
              (Events{"reject off", "cleared", "close"}));
}

TEST_F(DisconnectTest, NothingHappensWithoutAlertOrAutomaticClose) {
    settings_.alert = false;
    settings_.closeAfterConnect = true;  // without CloseCallerForms the guard stays shut
    RingShown(7);
    Clear(7);
    EXPECT_TRUE(ports_.events.empty());
    EXPECT_EQ(handlers_.Windows().Size(), 1u);
}

TEST_F(DisconnectTest, IconWaitsForTheLastHeldCall) {
    RingShown(1);
    RingShown(2);
    EXPECT_EQ(handlers_.HoldingCount(), 2);
    Clear(1);
    EXPECT_EQ(ports_.events, (Events{"reject off", "cleared"}));
    EXPECT_EQ(ports_.trayPicture, TrayPicture::CallerWindow);

    suspended_ = true;  // the display was switched off meanwhile
    noIcon_ = true;
    ports_.events.clear();
    Clear(2);
    EXPECT_EQ(ports_.events, (Events{"reject off", "cleared", "icon off", "front off"}));
}

TEST_F(DisconnectTest, ClearingOfAnUnheldCallKeepsTheHold) {
    RingShown(1);
    MsnEntry hidden = Msn("4712");
    hidden.flags[ShowAudio] = false;
    SetMsns({Msn("4711", "Büro"), hidden});
    Ring(NationalNumber("711123456"), "4712", 1, 9);  // recorded, ignored, no window
    ports_.events.clear();
    Clear(9);  // an ignored call is cleared too
    EXPECT_EQ(ports_.events, Events{});
    EXPECT_EQ(handlers_.HoldingCount(), 1);
    EXPECT_EQ(ports_.trayPicture, TrayPicture::CallerWindow);
}

TEST_F(DisconnectTest, WindowClosedByTheUserIsNotFoundButTheHoldEnds) {
    RingShown(3);
    handlers_.Windows().RemoveWindow(ports_.lastWindow);
    Clear(3);
    EXPECT_EQ(ports_.events, (Events{"icon normal", "notify", "front off"}));
    EXPECT_EQ(handlers_.HoldingCount(), 0);
}

}  // namespace
}  // namespace telvor::test
