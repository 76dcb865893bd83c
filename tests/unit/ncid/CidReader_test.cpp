// Reading calls and call ends from a server's lines, and the safety of caller texts that
// may end up on a command line.
#include "ncid/CidReader.h"

#include <gtest/gtest.h>

#include "ncid/CallerText.h"

namespace telvor {
namespace {

TEST(CidReader, ReadsWhatTheServerWritesInAnyOrderAndSkipsUnknownPairs) {
    const NcidCall sent{"12072026", "1435", "Büro", "0711123456", "",
                        "Müller",   "Ulm",  "DE",   "0711 123456"};
    const auto read = ParseCidLine(CidLine(sent).substr(0, CidLine(sent).size() - 2));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->date, "12072026");
    EXPECT_EQ(read->time, "1435");
    EXPECT_EQ(read->line, "Büro");
    EXPECT_EQ(read->number, "0711123456");
    EXPECT_EQ(read->mesg, "");  // NONE
    EXPECT_EQ(read->name, "Müller");
    EXPECT_EQ(read->town, "Ulm");
    EXPECT_EQ(read->country, "DE");
    EXPECT_EQ(read->formattedNumber, "0711 123456");

    const auto shuffled = ParseCidLine(
        "CID: ***NAME*\xE2\x82\xAC \xE4\xB8\xAD*JJJJ*x*NMBR*+49 (711) 12-34*TIME*9:05*DATE*1*");
    ASSERT_TRUE(shuffled);
    EXPECT_EQ(shuffled->name, "€ ?");  // in Windows-1252, or '?'
    EXPECT_EQ(shuffled->number, "+497111234");
    EXPECT_EQ(shuffled->time, "");  // not hhmm
    EXPECT_EQ(shuffled->date, "");
}

TEST(CidReader, NoValueWordsAreEmptyAndOtherLinesAreNoCalls) {
    for (const char* word : {"NO NAME", "-", "PRIVATE", "out-of-area", "ANONYMOUS"}) {
        const auto call =
            ParseCidLine(std::string("CID: *NMBR*") + word + "*LINE*-*NAME*" + word + "*");
        ASSERT_TRUE(call) << word;
        EXPECT_EQ(call->number, "") << word;
        EXPECT_EQ(call->name, "") << word;
        EXPECT_EQ(call->line, "");
    }
    EXPECT_TRUE(ParseCidLine("CID: *NMBR*NO-NUMBER*"));
    for (const char* line : {"CIDLOG: *DATE*12072026*NMBR*0711*NAME*Alt*",
                             "CIDINFO: *LINE*1*RING*0*", "WID: *NMBR*0711*", "CID: *DATE*1*", "CID",
                             "", "300 End of connection startup", "CID:*NMBR"})
        EXPECT_FALSE(ParseCidLine(line)) << line;
}

TEST(CidReader, CraftedTextsCannotStartAProgramOrForgeANumber) {
    const auto call = ParseCidLine(
        "CID: *NMBR*0711&calc*NAME*x\" & calc.exe & \"%PATH% ^| <a> 'b'!\x01*NMBR*110*");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->number, "0711");  // the first NMBR counts
    EXPECT_EQ(call->name, "x  calc.exe  PATH  a b");
    EXPECT_EQ(SafeCallerNumber("+49 (0)711-12#3*4 x"), "+49071112#3*4");
    EXPECT_EQ(SafeCallerName("  O'Neil \"Jr\"\t"), "ONeil Jr");
    EXPECT_FALSE(IsNcidNoValue("NO NAMES"));
}

TEST(CidReader, CallEndsAreRingCountsOfZeroAndBelowAndIncomingEndLines) {
    EXPECT_EQ(ParseCallEnd("CIDINFO: *LINE*POTS*RING*0*TIME*16:20:05*"), "POTS");
    EXPECT_EQ(ParseCallEnd("CIDINFO: *LINE*VOIP*RING*-2*TIME*16:20:05*"), "VOIP");
    EXPECT_EQ(ParseCallEnd("CIDINFO: *LINE*NO-LINE*RING*-4*"), "");
    EXPECT_EQ(ParseCallEnd("END: *HTYPE*BYE*CTYPE*IN*LINE*4901*NMBR*0711*"), "4901");
    for (const char* line :
         {"CIDINFO: *LINE*1*RING*4*TIME*16:20:05*", "CIDINFO: *LINE*1*RING*x*", "CIDINFO: *LINE*1*",
          "END: *HTYPE*BYE*CTYPE*OUT*LINE*1*", "CID: *NMBR*0711*"})
        EXPECT_FALSE(ParseCallEnd(line)) << line;
}

}  // namespace
}  // namespace telvor
