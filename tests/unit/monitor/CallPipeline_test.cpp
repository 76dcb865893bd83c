// The order and content of the effects of one offered call.
#include <algorithm>

#include "monitor/PipelineFixture.h"

namespace telvor::test {
namespace {

using Events = std::vector<std::string>;

class CallPipelineTest : public PipelineTest {
  protected:
    void SetUp() override {
        PipelineTest::SetUp();
        SetMsns({Msn("4711", "Büro")});
        SetCallers({{"0711 123456", "Hans Muster", "\"ring.wav\" ", ""}});
    }
};

TEST_F(CallPipelineTest, ShownCallRunsEveryStepInOrder) {
    settings_.closeCallerForms = true;
    settings_.closeTime = 30000;
    settings_.dmWhenMessage = 0;
    MsnEntry msn = Msn("4711", "Büro");
    msn.programm = "C:\\notify.exe";
    msn.parameter = "&NAME &MSNNUMBER";
    SetMsns({msn});

    Ring(NationalNumber("711123456"));

    EXPECT_EQ(ports_.events, (Events{"create", "protocol", "calllist", "autoclose", "tip", "notify",
                                     "forward", "show 257", "dmail", "alert 257", "icon caller",
                                     "notify", "reject on", "front on", "sound", "program"}));
    EXPECT_EQ(ports_.autoCloseMs, 30000);
    EXPECT_EQ(ports_.protocolLines.at(0),
              "07.12.26, 14:35, Hans Muster, (0711) 123456, Telefongespräch oder Analog, "
              "Büro (4711)\r\n");
    const CallListEntry& entry = ports_.callListEntries.at(0);
    EXPECT_EQ(entry.caption, "Hans Muster");
    EXPECT_EQ(entry.msnText, "Büro (4711)");
    EXPECT_DOUBLE_EQ(entry.time, clock_.reading.dayCount);
    EXPECT_FALSE(entry.notFound);
    EXPECT_EQ(ports_.trayTip, "Telvor - Hans Muster für Büro um 14:35 Uhr");
    EXPECT_EQ(store_.ReadString("Settings", "LastCall", ""), ports_.trayTip);
    EXPECT_EQ(ports_.forwarded.at(0),
              (ForwardLines{"Hans Muster", "(0711) 123456", "Stuttgart", "Büro (4711)",
                            "07.12.26  14:35", "Telefongespräch oder Analog",
                            "Telvor - Hans Muster für Büro um 14:35 Uhr"}));
    // The NCID clients' fields, in the call log's forms.
    ASSERT_EQ(ports_.announced.size(), 1u);
    const NcidCall& announced = ports_.announced[0];
    EXPECT_EQ(announced.date + " " + announced.time,
              NcidDateTimeOf(clock_.reading.dayCount).date + " " +
                  NcidDateTimeOf(clock_.reading.dayCount).time);
    EXPECT_EQ(announced.line, "Büro");
    EXPECT_EQ(announced.number, "0711123456");
    EXPECT_EQ(announced.formattedNumber, "(0711) 123456");
    EXPECT_EQ(announced.town, "Stuttgart");
    EXPECT_EQ(announced.country, "DE");  // a national number
    EXPECT_EQ(announced.name, "Hans Muster");
    EXPECT_EQ(ports_.dmailTexts.at(0), "Anruf von Hans Muster (0711 123456) für Büro um 14:35");
    ASSERT_EQ(ports_.sounds.size(), 1u);
    EXPECT_EQ(ports_.sounds[0].first, "ring.wav");
    EXPECT_EQ(ports_.sounds[0].second, SoundMode::Sync);
    EXPECT_EQ(ports_.programs.at(0),
              (std::pair<std::string, std::string>{"C:\\notify.exe", "Hans Muster 4711"}));
    EXPECT_EQ(handlers_.HoldingCount(), 1);
    ASSERT_EQ(handlers_.Windows().Size(), 1u);
    EXPECT_EQ(handlers_.Windows().Entries()[0].key, "257");
}

TEST_F(CallPipelineTest, CallsThatAreNotDisplayedStopEarly) {
    settings_.dmWhenMessage = 0;
    MsnEntry recordOnly = Msn("4711", "Büro");
    recordOnly.flags[ShowAudio] = false;
    SetMsns({recordOnly});
    Ring(NationalNumber("711123456"));
    EXPECT_EQ(ports_.events,
              (Events{"create", "protocol", "calllist", "dmail", "ignore 257", "discard"}));

    // No MSN entry for the number: nothing recorded, but ignored and dmail by its own rule.
    ports_.events.clear();
    Ring(NationalNumber("711123456"), "999");
    EXPECT_EQ(ports_.events, (Events{"create", "dmail", "ignore 257", "discard"}));

    // Display switched off: recorded, tip, LastCall and clients, then ignored without window.
    SetMsns({Msn("4711", "Büro")});
    suspended_ = true;
    ports_.events.clear();
    Ring(NationalNumber("711123456"));
    EXPECT_EQ(ports_.events, (Events{"create", "protocol", "calllist", "tip", "notify", "forward",
                                     "dmail", "ignore 257", "discard"}));
    EXPECT_EQ(ports_.announced.size(), 1u) << "the NCID clients hear of it too";
    EXPECT_NE(store_.ReadString("Settings", "LastCall", ""), "");
    EXPECT_TRUE(handlers_.Windows().Empty());
    EXPECT_TRUE(ports_.sounds.empty());
}

TEST_F(CallPipelineTest, WithoutIconOrForwardingThoseEffectsAreSkipped) {
    noIcon_ = true;
    settings_.enableNetDde = false;
    Ring(NationalNumber("711123456"));
    EXPECT_EQ(ports_.events,
              (Events{"create", "protocol", "calllist", "tip", "show 257", "alert 257",
                      "icon caller", "reject on", "front on", "sound"}));
}

TEST_F(CallPipelineTest, FirstMsnEntryEnablingTheServiceDecides) {
    MsnEntry off = Msn("4711", "Alt");
    for (int f = ShowAudio; f <= RecordElse; ++f) off.flags[f] = false;
    MsnEntry other = Msn("4712", "Andere");
    SetMsns({off, other, Msn("4711", "Neu"), Msn("4711", "Später")});
    Ring(NationalNumber("711123456"));
    EXPECT_EQ(Labels().msn, "Neu (4711)");
    EXPECT_EQ(handlers_.Windows().Size(), 1u);

    // When no entry enables the service the call is dropped; the last match's texts remain.
    MsnEntry off2 = off;
    off2.name = "Zweiter";
    off2.dmail = true;
    SetMsns({off, off2});
    MsnSearchResult found = FindMsnEntry(store_, "4711", 1);
    EXPECT_TRUE(found.matched);
    EXPECT_FALSE(found.show || found.record);
    EXPECT_EQ(found.name, "Zweiter");
    EXPECT_TRUE(found.dmail);
    EXPECT_FALSE(FindMsnEntry(store_, "471", 1).matched);  // exact text comparison only
}

TEST_F(CallPipelineTest, ServiceGroupSelectsTheFlags) {
    MsnEntry entry = Msn("4711");
    entry.flags[ShowAudio] = false;
    entry.flags[RecordAudio] = false;
    SetMsns({entry});

    Ring(NationalNumber("711123456"), "4711", 0);  // CIP 0 counts as Audio
    EXPECT_EQ(Labels().service, "unbekannt");
    EXPECT_EQ(ports_.events.back(), "discard");
    EXPECT_TRUE(ports_.protocolLines.empty());

    Ring(NationalNumber("711123456"), "4711", 17);
    EXPECT_EQ(Labels().service, "Fax Gruppe 2/3");
    EXPECT_EQ(Labels().msn, "4711");  // an entry without name shows the number only
    EXPECT_EQ(handlers_.Windows().Size(), 1u);
}

TEST_F(CallPipelineTest, NumbersArePrefixedAndPlacedByType) {
    Ring(NationalNumber("711123456"));
    EXPECT_EQ(Labels().number, "(0711) 123456");
    EXPECT_EQ(Labels().hiddenNumber, "0711 123456");
    EXPECT_EQ(Labels().town, "Stuttgart");
    EXPECT_EQ(Labels().dateTime, "07.12.26  14:35");

    Ring(std::string("\x11\x80") + "4420123");  // international
    EXPECT_EQ(Labels().number, "(0044) 20123");
    EXPECT_EQ(Labels().town, "Großbritannien");
    EXPECT_EQ(ports_.announced.back().country, "GB");
    store_.WriteString("Settings", "InternationalCalls", "000");  // the code after the prefix
    Ring(std::string("\x11\x80") + "1876123");
    EXPECT_EQ(ports_.announced.back().country, "JM");

    store_.WriteString("Settings", "NationalCalls", "9");  // read afresh for every call
    Ring(NationalNumber("30123"));                         // no town: prefixed all the same
    EXPECT_EQ(Labels().number, "930123");
    EXPECT_EQ(Labels().hiddenNumber, "930123");
    EXPECT_EQ(Labels().town, "unbekannt");

    Ring(PlainNumber("0711-12 34"));  // other types are only keypad-converted
    EXPECT_EQ(Labels().number, "07111234");
    EXPECT_EQ(Labels().town, "unbekannt");
    EXPECT_EQ(ports_.announced.back().country, "");  // and name no country
}

TEST_F(CallPipelineTest, LongestDatabasePrefixNamesTheCaller) {
    SetCallers({{"0711", "Stuttgart allgemein", "", ""}, {"0711123", "Firma", "", ""}});
    Ring(PlainNumber("07111234567"));
    EXPECT_EQ(Labels().name, "Firma");
    EXPECT_TRUE(Labels().databaseButton);

    Ring(PlainNumber("0711123"));
    EXPECT_EQ(Labels().name, "Firma");
    EXPECT_FALSE(Labels().databaseButton);

    Ring(PlainNumber("089123"));
    EXPECT_EQ(Labels().name, "unbekannt");
    EXPECT_TRUE(Labels().databaseButton);
    EXPECT_EQ(ports_.callListEntries.back().caption, "089123");
    EXPECT_TRUE(ports_.callListEntries.back().notFound);
    EXPECT_EQ(ports_.trayTip, "Telvor - 089123 für Büro um 14:35 Uhr");
}

TEST_F(CallPipelineTest, CallsWithoutNumberAndTheCallerKnownFlags) {
    Ring("");
    EXPECT_EQ(Labels().number, "unbekannt");
    EXPECT_EQ(Labels().name, "unbekannt");
    EXPECT_EQ(Labels().hiddenNumber, "");
    EXPECT_FALSE(Labels().databaseButton);
    EXPECT_EQ(handlers_.Windows().Size(), 1u);
    EXPECT_EQ(ports_.protocolLines.size(), 1u);

    MsnEntry known = Msn("4711", "Büro");
    known.flags[ShowCallerKnown] = true;
    known.flags[RecordCallerKnown] = true;
    SetMsns({known});
    ports_.events.clear();
    Ring("");
    EXPECT_EQ(ports_.events, (Events{"create", "ignore 257", "discard"}));

    known.flags[ShowCallerKnown] = false;  // shown, but still not recorded
    SetMsns({known});
    Ring("");
    EXPECT_EQ(handlers_.Windows().Size(), 2u);
    EXPECT_EQ(ports_.protocolLines.size(), 1u);
    Ring(NationalNumber("711123456"));
    EXPECT_EQ(ports_.protocolLines.size(), 2u);
}

TEST_F(CallPipelineTest, TrayTipIsCutButLastCallAndClientsGetTheWholeText) {
    SetCallers({{"0711123456", "Ein ausgesprochen langer Anrufername für den Test", "", ""}});
    Ring(NationalNumber("711123456"));
    const std::string full =
        "Telvor - Ein ausgesprochen langer Anrufername für den Test für Büro um 14:35 Uhr";
    EXPECT_EQ(ports_.trayTip, full.substr(0, 63));
    EXPECT_EQ(store_.ReadString("Settings", "LastCall", ""), full);
    EXPECT_EQ(ports_.forwarded.at(0)[6], full);
}

TEST_F(CallPipelineTest, DmailRulesInsideThePipeline) {
    SetCallers({{"0711", "Stuttgart", "", "X"}});
    settings_.dmWhenMessage = 2;
    Ring(NationalNumber("711123456"));  // the marker of a prefix match counts
    EXPECT_EQ(ports_.dmailTexts.size(), 1u);
    Ring(NationalNumber("30123"));  // unknown caller, MSN not marked
    EXPECT_EQ(ports_.dmailTexts.size(), 1u);

    settings_.dmWhenMessage = 1;
    Ring("");
    EXPECT_EQ(ports_.dmailTexts.size(), 1u);
    settings_.dmWhenMessage = 0;
    Ring("");
    EXPECT_EQ(ports_.dmailTexts.back(), "Anruf von unbekannt () für Büro um 14:35");
}

TEST_F(CallPipelineTest, CapiAnswerFollowsTheSettings) {
    settings_.initAlways = true;
    Ring(NationalNumber("711123456"));
    EXPECT_EQ(Events(ports_.events.end() - 5, ports_.events.end()),
              (Events{"reject off", "ignore 257", "reinit", "front on", "sound"}));
    EXPECT_EQ(handlers_.HoldingCount(), 0);

    settings_.initAlways = false;
    settings_.alert = false;
    ports_.events.clear();
    Ring(NationalNumber("711123456"));
    EXPECT_EQ(Events(ports_.events.end() - 4, ports_.events.end()),
              (Events{"ignore 257", "reject off", "front on", "sound"}));

    settings_.closeAfterConnect = true;  // holds only together with CloseCallerForms
    settings_.closeCallerForms = true;
    settings_.closeAfterTime = false;
    ports_.events.clear();
    Ring(NationalNumber("711123456"));
    EXPECT_NE(std::find(ports_.events.begin(), ports_.events.end(), "alert 257"),
              ports_.events.end());
    EXPECT_EQ(handlers_.HoldingCount(), 1);
}

TEST_F(CallPipelineTest, ActionsPickSoundOrProgramByExtension) {
    SetCallers({{"0711123456", "Hans Muster", "\"C:\\tools\\show.exe\" &number &TOWN", ""}});
    MsnEntry msn = Msn("4711", "Büro");
    msn.programm = "D:\\Klang\\Ring.Wav";
    SetMsns({msn});
    Ring(NationalNumber("711123456"));
    EXPECT_EQ(Events(ports_.events.end() - 2, ports_.events.end()),
              (Events{"program", "sound"}));  // the caller's action first
    EXPECT_EQ(ports_.programs.at(0).second, "0711 123456 Stuttgart");
    EXPECT_EQ(ports_.sounds.at(0),
              (std::pair<std::string, SoundMode>{"D:\\Klang\\Ring.Wav", SoundMode::Async}));
}

TEST_F(CallPipelineTest, WindowClosedDuringTheDmailWaitIsNotTouchedAgain) {
    settings_.dmWhenMessage = 0;
    ports_.duringDmail = [this] { handlers_.Windows().RemoveWindow(ports_.lastWindow); };
    Ring(NationalNumber("711123456"));
    EXPECT_EQ(Events(ports_.events.end() - 6, ports_.events.end()),
              (Events{"dmail", "alert 257", "icon caller", "notify", "front on", "sound"}));
    EXPECT_EQ(handlers_.HoldingCount(), 1);
}

}  // namespace
}  // namespace telvor::test
