// Settings combinations that change the course of a call in less obvious ways.
#include <algorithm>

#include "monitor/PipelineFixture.h"

namespace telvor::test {
namespace {

using Events = std::vector<std::string>;

class SettingsCombinationTest : public PipelineTest {
  protected:
    void SetUp() override {
        PipelineTest::SetUp();
        SetMsns({Msn("4711", "Büro")});
    }
    bool Saw(const std::string& event) const {
        return std::find(ports_.events.begin(), ports_.events.end(), event) != ports_.events.end();
    }
};

// Closing windows by themselves is not a reason to hold a call: only Alert, or closing after
// the call was answered, needs the call's clearing reported.
TEST_F(SettingsCombinationTest, AutomaticCloseWithoutAlertOrCloseAfterConnectIgnoresTheCall) {
    settings_.closeCallerForms = true;
    settings_.closeAfterConnect = false;
    settings_.alert = false;
    settings_.closeTime = 5000;

    Ring(NationalNumber("711123456"));
    EXPECT_EQ(Events(ports_.events.end() - 4, ports_.events.end()),
              (Events{"show 257", "ignore 257", "reject off", "front on"}));
    EXPECT_FALSE(Saw("alert 257"));
    EXPECT_FALSE(Saw("icon caller"));
    EXPECT_EQ(handlers_.HoldingCount(), 0);
    EXPECT_FALSE(ports_.rejectEnabled.at(ports_.lastWindow));
    EXPECT_EQ(ports_.autoCloseMs, 5000);  // the timer still closes the window

    // Its clearing passes the disconnect handler by: the window stays listed and unmarked.
    ports_.events.clear();
    Clear(0x101);
    EXPECT_TRUE(ports_.events.empty());
    EXPECT_EQ(handlers_.HoldingCount(), 0);
    EXPECT_EQ(handlers_.Windows().Size(), 1u);
}

// "+" as international prefix: the area code shows it, while the number itself went through
// the keypad conversion, which drops it; the split must count only what is in the number.
TEST_F(SettingsCombinationTest, PlusAsInternationalPrefixKeepsTheNumberWhole) {
    store_.WriteString("Settings", "InternationalCalls", "+");
    settings_.dmWhenMessage = 0;
    settings_.dmMessage = "&NUMBER";

    Ring(std::string("\x11\x80") + "4420712345");
    EXPECT_EQ(Labels().number, "(+44) 20712345");
    EXPECT_EQ(Labels().hiddenNumber, "+44 20712345");
    EXPECT_EQ(Labels().town, "Großbritannien");
    EXPECT_EQ(ports_.callListEntries.at(0).caption, "(+44) 20712345");
    EXPECT_EQ(ports_.dmailTexts.at(0), "+44 20712345");
    EXPECT_EQ(ports_.trayTip, "Telvor - (+44) 20712345 für Büro um 14:35 Uhr");

    // The database sees the digits without "+", as every stored number is compared.
    SetCallers({{"0044 20", "London", "", ""}, {"44 207", "London Mitte", "", ""}});
    Ring(std::string("\x11\x80") + "4420712345");
    EXPECT_EQ(Labels().name, "London Mitte");

    // Digits that end inside the area code (only the country code was sent).
    Ring(std::string("\x11\x80") + "44");
    EXPECT_EQ(Labels().number, "(+44) ");
    EXPECT_EQ(Labels().hiddenNumber, "+44 ");
}

}  // namespace
}  // namespace telvor::test
