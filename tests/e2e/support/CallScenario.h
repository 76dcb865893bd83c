#pragma once
// The line most call cases start from, and the records a call leaves behind: the protocol
// file, the call list and the last call's text.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/CallList.h"
#include "support/MonitorCase.h"

namespace telvor::e2e {

// MSN 4711 "Büro" and MSN 4712 without a name; a caller database (CallerList.ddb beside the
// exe) with "0711 123456" Hans Muster and the prefix "030" Anruf aus Berlin.
void SeedStandardLine(const MonitorCase& monitor);

// The application id of the monitor's newest registration, taken from its last LISTEN_REQ.
std::uint16_t CurrentApplId(MonitorCase& monitor);

// The protocol file (Telvor.log beside the exe) as lines without their CR LF; nothing when
// the file does not exist. A last line without CR LF is returned as "<unterminated>" + text.
std::optional<std::vector<std::string>> ProtocolLines(const MonitorCase& monitor);
// Calls.ddb beside the exe; nothing when it does not exist.
std::optional<std::vector<CallRecord>> CallListRecords(const MonitorCase& monitor);
// HKCU\Software\Orbek\Telvor\Settings, value LastCall.
std::optional<std::string> LastCall();

// The date and the time of a caller window's TimeL ("8.12.2026  14:35").
struct DateAndTime {
    std::string date;
    std::string time;
};
std::optional<DateAndTime> SplitDateTime(const std::string& timeLabel);
// Minutes since midnight of a call-list time (days since 30.12.1899, fraction = time of day).
int MinuteOfDay(double dayCount);
// Minutes since midnight of "HH:MM"; -1 when the text is not of that form.
int MinuteOfDay(const std::string& hhmm);

}  // namespace telvor::e2e
