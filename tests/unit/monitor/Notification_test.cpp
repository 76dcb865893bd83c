// dmail decision and poke data, the call tooltip.
#include <gtest/gtest.h>

#include "monitor/Dmail.h"
#include "monitor/Tooltip.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

TEST(DmailDecision, ModesZeroToThreeAndOthers) {
    LoadStartupTexts();
    const DmailFacts none{false, UnknownCallerText, false, false};
    const DmailFacts withNumber{true, UnknownCallerText, false, false};
    const DmailFacts markedCaller{true, "Hans", true, false};
    const DmailFacts markedMsn{false, UnknownCallerText, false, true};
    const DmailFacts markerOfUnknown{true, UnknownCallerText, true, false};

    EXPECT_TRUE(DmailMessageDue(0, none));
    EXPECT_FALSE(DmailMessageDue(1, none));
    EXPECT_TRUE(DmailMessageDue(1, withNumber));
    EXPECT_TRUE(DmailMessageDue(2, markedCaller));
    EXPECT_TRUE(DmailMessageDue(2, markedMsn));
    EXPECT_FALSE(DmailMessageDue(2, withNumber));
    EXPECT_FALSE(DmailMessageDue(2, markerOfUnknown));
    for (long long mode : {3LL, 4LL, -1LL, 1LL << 40}) {
        EXPECT_FALSE(DmailMessageDue(mode, markedCaller)) << mode;
    }
}

TEST(DmailPoke, TwoLinesAndATerminatingNul) {
    EXPECT_EQ(DmailPokeData("0171 555", "Anruf"), std::string("0171 555\r\nAnruf\r\n\0", 18));
    EXPECT_EQ(DmailPokeData("", ""), std::string("\r\n\r\n\0", 5));
    EXPECT_EQ(DmailWorkingDirectory("c:\\Programme\\dmail\\dmail.exe"), "c:\\Programme\\dmail\\");
    EXPECT_EQ(DmailWorkingDirectory("d:dmail.exe"), "d:");
    EXPECT_EQ(DmailWorkingDirectory("dmail.exe"), "");
}

TEST(CallTooltip, NameOrNumberAndMsnNameOrLabel) {
    LoadStartupTexts();
    EXPECT_EQ(CallTooltip({"Anna", "(0711) 1", "Büro", "Büro (4711)", "09:05"}),
              "Telvor - Anna für Büro um 09:05 Uhr");
    EXPECT_EQ(CallTooltip({UnknownCallerText, "(0711) 1", "", "4711", "09:05"}),
              "Telvor - (0711) 1 für 4711 um 09:05 Uhr");
    const std::string longText(100, 'x');
    EXPECT_EQ(TrayTip(longText).size(), 63u);
    EXPECT_EQ(TrayTip("kurz"), "kurz");
}

}  // namespace
}  // namespace telvor
