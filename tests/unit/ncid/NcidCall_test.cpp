// The lines that carry a call: field order, the protocol's words for missing values, and
// texts that must not break the "*LABEL*data*" pairs or the line.
#include "ncid/NcidCall.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "ncid/NcidText.h"
#include "store/LocaleDateTime.h"

namespace telvor {
namespace {

TEST(NcidCall, FullCallWritesEveryPairWithTheNameLast) {
    NcidCall call{"12072026", "1435",      "Büro", "0711123456",    "",
                  "Meier",    "Stuttgart", "DE",   "+49 711 123456"};
    EXPECT_EQ(CidLine(call),
              "CID: *DATE*12072026*TIME*1435*LINE*B\xC3\xBCro*NMBR*0711123456*MESG*NONE"
              "*FNMBR*+49 711 123456*CTRY*DE*LOCA*Stuttgart*NAME*Meier*\r\n");
}

TEST(NcidCall, MissingValuesAreTheProtocolsWordsAndOptionalPairsStayOut) {
    NcidCall call;
    call.date = "01022026";
    call.time = "0000";
    EXPECT_EQ(CidLogLine(call),
              "CIDLOG: *DATE*01022026*TIME*0000*LINE*NO-LINE*NMBR*NO-NUMBER*MESG*NONE"
              "*NAME*NO NAME*\r\n");
}

TEST(NcidCall, TextsCannotBreakThePairsOrTheLine) {
    NcidCall call{"12072026", "1435", "4711", "*31#0711", "", "A*B\r\nC\tD\x01", "", "", ""};
    const std::string line = CidLine(call);
    // '*' becomes '×' (U+00D7), control characters blanks; one CR LF ends the line.
    EXPECT_NE(line.find("*NMBR*\xC3\x97"
                        "31#0711*"),
              std::string::npos)
        << line;
    EXPECT_NE(line.find("*NAME*A\xC3\x97"
                        "B  C D*\r\n"),
              std::string::npos)
        << line;
    EXPECT_EQ(line.find('\r'), line.size() - 2);
    EXPECT_EQ(NcidFieldText(" \r\n ", 50, kNcidNoName), kNcidNoName);
}

TEST(NcidCall, FieldTextIsUtf8AndCutToItsLength) {
    EXPECT_EQ(NcidFieldText("\x80 \xE4\xDF", 50, "-"), "\xE2\x82\xAC \xC3\xA4\xC3\x9F");
    EXPECT_EQ(NcidFieldText(std::string(60, 'x') + "yz", 50, "-"), std::string(50, 'x'));
    // Cut by characters, and to twice as many bytes: a character is never split.
    EXPECT_EQ(NcidFieldText("\xFC\xFC\xFC", 2, "-"), "\xC3\xBC\xC3\xBC");
    EXPECT_EQ(NcidFieldText("\x80\x80\x80", 3, "-"), "\xE2\x82\xAC\xE2\x82\xAC");
}

TEST(NcidCall, DateAndTimeOfADayCount) {
    const NcidDateTime when = NcidDateTimeOf(EncodeDateTime(2024, 2, 29, 23, 59, 0) - 1e-9);
    EXPECT_EQ(when.date, "02292024");
    EXPECT_EQ(when.time, "2359");
    EXPECT_EQ(when.timeWithSeconds, "23:59:00");
    EXPECT_EQ(NcidDateTimeOf(EncodeDateTime(1899, 12, 31, 6, 5, 4)).timeWithSeconds, "06:05:04");
    for (double bad : {-1.0, 1e300, std::numeric_limits<double>::quiet_NaN(), 2958466.0}) {
        const NcidDateTime zero = NcidDateTimeOf(bad);
        EXPECT_EQ(zero.date + zero.time, "123018990000") << bad;
    }
    EXPECT_EQ(NcidDateTimeOf(2958465.99999999).date, "12319999");
}

TEST(NcidCall, RingingEndLine) {
    EXPECT_EQ(CidInfoEndLine("Privat", "18:30:05"),
              "CIDINFO: *LINE*Privat*RING*0*TIME*18:30:05*\r\n");
}

}  // namespace
}  // namespace telvor
