// Calls an NCID server reports, from the wire line through the call pipeline: the same steps
// as a ring of the line, without any CAPI answer, and nothing of the server's text able to
// leave its place on a command line.
#include "monitor/NetworkIncoming.h"
#include "monitor/PipelineFixture.h"
#include "ncid/CidReader.h"

namespace telvor::test {
namespace {

class NetworkCallTest : public PipelineTest {
  protected:
    void SetUp() override {
        PipelineTest::SetUp();
        MsnEntry office = Msn("4711", "Office");
        office.programm = "C:\\notify.exe";
        office.parameter = "\"&NAME\" &NUMBER";
        SetMsns({Msn("4712"), office});
        SetCallers({{"0711 123456", "Hans Muster", "", ""}});
        settings_.alert = true;
    }
    // The line as it comes from the server, into the pipeline as the monitor hands it over.
    void Receive(std::string_view wire, std::int32_t id = -1) {
        const std::optional<NcidCall> call = ParseCidLine(wire);
        ASSERT_TRUE(call);
        handlers_.CallPipeline(NetworkIncomingCall(*call, id, store_), Inputs());
    }
    bool AnyCapiAnswer() const {
        for (const std::string& e : ports_.events)
            if (e.starts_with("ignore") || e.starts_with("alert") || e == "reinit") return true;
        return false;
    }
};

TEST_F(NetworkCallTest, AKnownCallerOnANamedLineIsShownRecordedAndCannotBeRejected) {
    Receive("CID: *DATE*12082026*TIME*0905*LINE*oFFICE*NMBR*0711123456*MESG*NONE*NAME*SERVER*");

    const CallerLabels& labels = Labels();
    EXPECT_EQ(labels.name, "Hans Muster");  // the database wins over the server
    EXPECT_EQ(labels.number, "(0711) 123456");
    EXPECT_EQ(labels.town, "Stuttgart");
    EXPECT_EQ(labels.msn, "Office (4711)");  // the line matched the entry by its name
    EXPECT_EQ(labels.service, "Telefongespräch oder Analog");
    EXPECT_EQ(ports_.protocolLines.size(), 1u);
    EXPECT_EQ(ports_.rejectEnabled.at(ports_.lastWindow), false);
    EXPECT_FALSE(AnyCapiAnswer());
    EXPECT_EQ(handlers_.HoldingCount(), 0);
    EXPECT_EQ(ports_.programs.at(0).second, "\"Hans Muster\" 0711 123456");

    // The server's end of the call marks the window as the line's clearing does.
    Clear(-1);
    EXPECT_EQ(ports_.events.back(), "front off");
    EXPECT_NE(std::find(ports_.events.begin(), ports_.events.end(), "cleared"),
              ports_.events.end());
}

TEST_F(NetworkCallTest, TheServersNameStandsInButCannotBreakOutOfTheCommandLine) {
    // By number this time, and an unknown caller: the name is the server's, made harmless.
    Receive(
        "CID: *DATE*12082026*TIME*0905*LINE*4711*NMBR*0711 99&calc*MESG*NONE*"
        "NAME*Bob\" & start evil.exe & echo \"%PATH%|<x>^!*");
    const CallerLabels& labels = Labels();
    EXPECT_EQ(labels.number, "(0711) 99");
    EXPECT_EQ(ports_.programs.at(0).second, "\"Bob  start evil.exe  echo PATHx\" 0711 99");
    EXPECT_TRUE(labels.databaseButton);  // nothing of the server's goes to the database unasked
}

TEST_F(NetworkCallTest, ALineNoEntryNamesIsShownAsTheServerNamedIt) {
    Receive("CID: *DATE*02302026*TIME*2500*LINE*POTS*NMBR*+442079460958*MESG*NONE*NAME*-*");
    const CallerLabels& labels = Labels();
    EXPECT_EQ(labels.msn, "POTS");
    EXPECT_EQ(labels.number, "(0044) 2079460958");
    EXPECT_EQ(labels.name, "unbekannt");
    EXPECT_EQ(ports_.callListEntries.size(), 1u);
    EXPECT_NE(std::find(ports_.events.begin(), ports_.events.end(), "show -1"),
              ports_.events.end());
}

TEST(NetworkIncoming, NumbersGetTheLinesTypeAndDatesMustBeReal) {
    EXPECT_EQ(LineFormCallingNumber("+4420123", "0", "00"), std::string("\x91\x80") + "4420123");
    EXPECT_EQ(LineFormCallingNumber("004420123", "0", "00"), std::string("\x91\x80") + "4420123");
    EXPECT_EQ(LineFormCallingNumber("+4930123", "0", "00"), std::string("\xA1\x80") + "30123");
    EXPECT_EQ(LineFormCallingNumber("0049030123", "0", "00"), std::string("\xA1\x80") + "30123");
    EXPECT_EQ(LineFormCallingNumber("030123", "0", "00"), std::string("\xA1\x80") + "30123");
    EXPECT_EQ(LineFormCallingNumber("5551234", "0", "00"), std::string("\x81\x80") + "5551234");
    EXPECT_EQ(LineFormCallingNumber("5551234", "", ""), std::string("\x81\x80") + "5551234");
    EXPECT_EQ(LineFormCallingNumber("", "0", "00"), "");

    EXPECT_TRUE(NcidCallMinute("02292024", "2359"));
    for (auto [date, time] : {std::pair{"02292026", "1200"},
                              {"13012026", "1200"},
                              {"12082026", "2400"},
                              {"1208202", "1200"},
                              {"12O82026", "1200"}})
        EXPECT_FALSE(NcidCallMinute(date, time)) << date << " " << time;
}

}  // namespace
}  // namespace telvor::test
