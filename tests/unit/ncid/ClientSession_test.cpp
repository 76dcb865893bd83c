// The client's side of a connection: the start-up, the calls after it, the keep-alive, the
// bounds that close it, and the wait before the next attempt.
#include "ncid/ClientSession.h"

#include <gtest/gtest.h>

#include "ncid/Backoff.h"

namespace telvor {
namespace {

using std::chrono::minutes;
using std::chrono::seconds;

const NcidClientClock::time_point t0{};
constexpr std::string_view kHead = "200 Server: x 1\r\n210 API: 1.14 Feature Set 1\r\n";

TEST(NcidClientSession, AnswersTheApiLineAndTakesCallsOnlyAfterTheStartup) {
    NcidClientSession session("2.00", t0);
    session.Received(kHead.substr(0, 20), t0);
    EXPECT_EQ(session.PendingOutput(), "");
    session.Received(kHead.substr(20), t0);
    EXPECT_EQ(session.PendingOutput(),
              "HELLO: IDENT: client Telvor 2.00\r\nHELLO: CMD: no_log\r\n");
    session.Sent(session.PendingOutput().size(), t0);
    session.Received(
        "254 Start of call log\r\nCIDLOG: *NMBR*1*NAME*Alt*\r\nCID: *NMBR*2*NAME*Früh*\r\n"
        "250 End of call log\r\nOPT: country: DE\r\n",
        t0);
    EXPECT_FALSE(session.StartupDone());
    session.Received("300 End of connection startup\r\nCIDLOG: *NMBR*3*\r\nMSG: hi\r\n", t0);
    EXPECT_TRUE(session.StartupDone());
    EXPECT_TRUE(session.TakeEvents().empty());

    session.Received("CID: *NMBR*0711*NAME*Neu*\nCIDINFO: *LINE*1*RING*2*\n", t0);
    session.Received("CIDINFO: *LINE*1*RING*0*\r\n", t0);
    const auto events = session.TakeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, NcidClientEvent::Kind::Call);
    EXPECT_EQ(events[0].call.number, "0711");
    EXPECT_EQ(events[1].kind, NcidClientEvent::Kind::CallEnd);
    EXPECT_EQ(events[1].line, "1");
    EXPECT_FALSE(session.Closing());
}

TEST(NcidClientSession, KeepAliveAfterAQuietQuarterHour) {
    NcidClientSession session("2.00", t0);
    session.Received(std::string(kHead) + "300 End\r\n", t0);
    session.Sent(session.PendingOutput().size(), t0);
    session.Tick(t0 + minutes(14));
    EXPECT_EQ(session.PendingOutput(), "");
    session.Received("MSG: still here\r\n", t0 + minutes(14));
    session.Tick(t0 + minutes(28));
    EXPECT_EQ(session.PendingOutput(), "");
    session.Tick(t0 + minutes(29));
    EXPECT_EQ(session.PendingOutput(), "\r\n");
    session.Sent(2, t0 + minutes(29));
    session.Tick(t0 + minutes(30));
    EXPECT_EQ(session.PendingOutput(), "");
}

TEST(NcidClientSession, ClosesOnAnotherProtocolALongLineOrASlowStartup) {
    NcidClientSession other("2.00", t0);
    other.Received("HTTP/1.1 400 Bad Request\r\n200 x\r\n", t0);
    EXPECT_EQ(other.CloseReason(), NcidClientClose::NotNcid);

    NcidClientSession flood("2.00", t0);
    flood.Received(std::string(kHead) + "300 End\r\n" + std::string(1025, 'x'), t0);
    EXPECT_EQ(flood.CloseReason(), NcidClientClose::LineTooLong);
    flood.Received("\r\nCID: *NMBR*1*\r\n", t0);
    EXPECT_TRUE(flood.TakeEvents().empty());

    NcidClientSession slow("2.00", t0);
    slow.Received(kHead, t0 + seconds(59));
    slow.Tick(t0 + seconds(59));
    EXPECT_FALSE(slow.Closing());
    slow.Tick(t0 + seconds(60));
    EXPECT_EQ(slow.CloseReason(), NcidClientClose::StartupTimeout);
}

TEST(NcidBackoff, DoublesFromOneSecondToAMinuteAndStartsOverAfterReset) {
    NcidBackoff backoff;
    std::vector<long long> waits;
    for (int i = 0; i < 8; ++i) waits.push_back(backoff.Next().count());
    EXPECT_EQ(waits, (std::vector<long long>{1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000}));
    backoff.Reset();
    EXPECT_EQ(backoff.Next().count(), 1000);
}

}  // namespace
}  // namespace telvor
