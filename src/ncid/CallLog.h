#pragma once
// The call list as the call log an NCID client gets on connecting.
//
// A call-list record keeps less than a call had: the caller's name when the caller was in
// the database, otherwise the number as the caller window showed it ("(0711) 123456", or
// "unbekannt" without number), the MSN as shown ("Büro (4711)"), the time, and whether the
// caller was unknown. So a log entry carries:
//   NAME  the name of a known caller; NO NAME for an unknown one;
//   NMBR  the digits of an unknown caller's shown number (with a leading +, * and #); for a
//         known caller "-" (the record does not hold the number: clients show nothing);
//         NO-NUMBER when the shown text is no number ("unbekannt");
//   LINE  the MSN's name when it has one, else its number (NcidLineId);
//   DATE, TIME  from the record's time.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ncid/Greeting.h"
#include "ncid/NcidCall.h"
#include "store/CallList.h"

namespace telvor {

NcidCall NcidCallFromRecord(const CallRecord& record);

// The newest `maxCalls` records by time, oldest first (the file's order may be the user's
// sort order of the list).
std::vector<NcidCall> NcidCallLog(const std::vector<CallRecord>& records,
                                  std::size_t maxCalls = kNcidLogCalls);

// The LINE of a call from the MSN as shown: "Büro (4711)" gives "Büro", "4711" stays.
std::string NcidLineId(std::string_view msnText);

// The number in a shown number text ("(0711) 123456" gives "0711123456"); empty when the
// text holds letters or other characters a shown number does not have.
std::string NcidNumberFromShown(std::string_view shown);

}  // namespace telvor
