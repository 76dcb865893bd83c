// One client connection from the start-up to its close, on a clock the test moves.
#include "ncid/Session.h"

#include <gtest/gtest.h>

namespace telvor {
namespace {

using namespace std::chrono_literals;

const std::string kHead = "200 Server: Telvor 2.00\r\n210 API: 1.14 Feature Set 1 4\r\n";
const std::string kEnd = "OPT: country: DE\r\n300 End of connection startup\r\n";

NcidCall Call(std::string name) {
    return NcidCall{"12072026", "1435", "4711", "0711123", "", std::move(name), "", "", ""};
}

struct SessionTest : ::testing::Test {
    NcidClock::time_point t0{};
    NcidLimits limits;
    NcidSession session{limits, t0};

    // Everything queued so far, as sent.
    std::string Drain(NcidClock::time_point now) {
        std::string out(session.PendingOutput());
        session.Sent(out.size(), now);
        return out;
    }
    void StartUp(const std::vector<NcidCall>& log = {}) {
        ASSERT_TRUE(session.LogDue(t0 + 1s));
        session.FinishStartup(log);
    }
};

TEST_F(SessionTest, StartupWaitsForHelloThenSendsTheLogOldestFirst) {
    EXPECT_EQ(Drain(t0), kHead);
    session.Received("HELLO: IDENT: client test 1.0\r\n", t0 + 100ms);
    EXPECT_FALSE(session.LogDue(t0 + 999ms));
    session.Deliver(CidLine(Call("Live")));  // rings during the start-up: after the 300
    StartUp({Call("Old"), Call("New")});
    EXPECT_EQ(Drain(t0 + 1s), "254 Start of call log\r\n" + CidLogLine(Call("Old")) +
                                  CidLogLine(Call("New")) + "250 End of call log\r\n" + kEnd +
                                  CidLine(Call("Live")));
    EXPECT_EQ(session.Ident(), "client test 1.0");
    EXPECT_FALSE(session.LogDue(t0 + 2s));
}

TEST_F(SessionTest, NoLogAndAnEmptyLog) {
    session.Received("HELLO: CMD: no_log\n", t0);
    EXPECT_FALSE(session.WantsLog());
    StartUp({Call("Not sent")});
    EXPECT_EQ(Drain(t0), kHead + "251 Call log not sent\r\n" + kEnd);

    NcidSession empty(limits, t0);
    empty.FinishStartup({});
    EXPECT_EQ(empty.PendingOutput(), kHead + "252 Call log empty\r\n" + kEnd);
}

TEST_F(SessionTest, OnlyTheNewest500CallsGoIntoTheLogAndTheFullestLogFits) {
    // Every field at its longest, in three-byte characters: the largest log there can be.
    const std::string longest(60, '\x80');
    NcidCall big{"12072026", "1435", longest, longest, longest, longest, longest, "DE", longest};
    std::vector<NcidCall> log(600, big);
    log.front().name = "dropped";
    StartUp(log);
    ASSERT_FALSE(session.Closing());
    const std::string out = Drain(t0);
    EXPECT_EQ(out.find("dropped"), std::string::npos);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = out.find("CIDLOG: ", at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, 500u);
}

TEST_F(SessionTest, ClientLinesAfterTheStartup) {
    StartUp();
    Drain(t0);
    session.Received("\r\nHELLO: CMD: no_log\r\nREQ: ACK\r\nMSG: hi\r\nREQ: YO\r\n", t0 + 2s);
    EXPECT_EQ(Drain(t0 + 2s), "ACK: REQ: YO\r\n")
        << "keep-alive, late HELLO and the rest: no answer";
    session.Deliver("CID: x\r\n");
    session.Received("GOODBYE\r\nREQ: YO\r\n", t0 + 3s);
    EXPECT_EQ(session.CloseReason(), NcidCloseReason::Goodbye);
    EXPECT_EQ(Drain(t0 + 3s), "CID: x\r\n") << "what was queued before GOODBYE still goes";
}

TEST_F(SessionTest, AnAcknowledgmentDuringTheStartupWaitsForIt) {
    session.Received("REQ: YO\n", t0);
    StartUp();
    EXPECT_EQ(Drain(t0), kHead + "252 Call log empty\r\n" + kEnd + "ACK: REQ: YO\r\n");
}

TEST_F(SessionTest, IdleForMoreThanHalfAnHourInEitherDirectionCloses) {
    StartUp();
    Drain(t0);
    session.Received("\n", t0 + 20min);  // keep-alive
    session.Deliver("CID: x\r\n");
    Drain(t0 + 45min);
    session.Tick(t0 + 75min);
    EXPECT_FALSE(session.Closing());
    session.Tick(t0 + 75min + 1ms);
    EXPECT_EQ(session.CloseReason(), NcidCloseReason::Idle);
}

TEST_F(SessionTest, AnOverlongLineClosesAfterTheLinesBeforeIt) {
    StartUp();
    Drain(t0);
    session.Received("REQ: YO\n" + std::string(1025, 'x') + "\n", t0);
    EXPECT_EQ(session.CloseReason(), NcidCloseReason::LineTooLong);
    EXPECT_EQ(session.PendingOutput(), "") << "a closed connection is sent nothing more";
}

TEST_F(SessionTest, AClientThatReadsNothingIsClosedAtTheOutputBound) {
    StartUp();
    const std::string line = CidLine(Call(std::string(50, 'n')));
    while (!session.Closing()) session.Deliver(line);
    EXPECT_EQ(session.CloseReason(), NcidCloseReason::OutputOverflow);

    NcidSession starting(limits, t0);  // held lines have the same bound
    while (!starting.Closing()) starting.Deliver(line);
    EXPECT_EQ(starting.CloseReason(), NcidCloseReason::OutputOverflow);
}

}  // namespace
}  // namespace telvor
