// Call-list records as the log a client gets: what each record can tell, and which records.
#include "ncid/CallLog.h"

#include <cmath>
#include <gtest/gtest.h>

#include "store/LocaleDateTime.h"

namespace telvor {
namespace {

CallRecord Record(std::string name, std::string called, double time, bool unknown) {
    return CallRecord{std::move(name), std::move(called), time, unknown};
}

TEST(NcidCallLog, WhatARecordTells) {
    const double t = EncodeDateTime(2026, 12, 7, 14, 35, 0);
    NcidCall known = NcidCallFromRecord(Record("Meier", "Büro (4711)", t, false));
    EXPECT_EQ(CidLogLine(known),
              "CIDLOG: *DATE*12072026*TIME*1435*LINE*B\xC3\xBCro*NMBR*-*MESG*NONE*NAME*Meier*\r\n");
    NcidCall unknown = NcidCallFromRecord(Record("(+44 20) 7946 0958", "4711", t, true));
    EXPECT_EQ(unknown.number, "+442079460958");
    EXPECT_EQ(unknown.line, "4711");
    EXPECT_EQ(unknown.name, "");                                                 // NO NAME
    EXPECT_EQ(NcidCallFromRecord(Record("unbekannt", "", t, true)).number, "");  // NO-NUMBER
}

TEST(NcidCallLog, LineIdAndShownNumber) {
    EXPECT_EQ(NcidLineId("Privat (0711 99)"), "Privat");
    EXPECT_EQ(NcidLineId("4711"), "4711");
    EXPECT_EQ(NcidLineId(" (4711)"), " (4711)");
    EXPECT_EQ(NcidNumberFromShown("(0711) 12-34/5 *#"), "071112345*#");
    EXPECT_EQ(NcidNumberFromShown("0711 x"), "");
}

TEST(NcidCallLog, NewestCallsByTimeOldestFirst) {
    // The file in the user's sort order: time i * 7919 mod 600 is each time once.
    std::vector<CallRecord> records;
    for (int i = 0; i < 600; ++i) {
        const int minute = i * 7919 % 600;
        records.push_back(Record(std::to_string(minute), "1", 1000.0 + minute / 1440.0, true));
    }
    const std::vector<NcidCall> log = NcidCallLog(records, 500);
    ASSERT_EQ(log.size(), 500u);
    for (std::size_t i = 0; i < log.size(); ++i)
        EXPECT_EQ(NcidCallFromRecord(records[0]).date, log[i].date);  // one day
    EXPECT_EQ(log.front().time, "0140");  // minute 100: the 100 oldest stay out
    EXPECT_EQ(log.back().time, "0959");

    const std::vector<CallRecord> tied = {Record("A", "1", 5000, false),
                                          Record("Broken", "1", std::nan(""), false),
                                          Record("B", "1", 5000, false)};
    const std::vector<NcidCall> two = NcidCallLog(tied, 2);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].name + two[1].name, "AB")
        << "a time that is no number sorts first, ties keep the file's order";
}

}  // namespace
}  // namespace telvor
