#include "ncid/NcidCall.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ncid/NcidText.h"

namespace telvor {
namespace {

// Day count of 1 January 10000: later instants are not calendar dates of four-digit years.
constexpr double kEndOfYear9999 = 2958466.0;

void AppendPair(std::string& out, std::string_view label, std::string_view data) {
    out += label;
    out += '*';
    out += data;
    out += '*';
}

std::string CallLine(std::string_view type, const NcidCall& call) {
    std::string out(type);
    out += " *";
    // DATE and TIME normally come from NcidDateTimeOf; they pass the same guard as every
    // text, so a hand-made value cannot break the line either. Missing: the zero instant.
    AppendPair(out, "DATE", NcidFieldText(call.date, 8, "12301899"));
    AppendPair(out, "TIME", NcidFieldText(call.time, 4, "0000"));
    AppendPair(out, "LINE", NcidFieldText(call.line, kNcidLineChars, kNcidNoLine));
    AppendPair(out, "NMBR", NcidFieldText(call.number, kNcidNumberChars, kNcidNoNumber));
    AppendPair(out, "MESG", NcidFieldText(call.mesg, kNcidLineChars, kNcidNoMesg));
    if (!call.formattedNumber.empty())
        AppendPair(out, "FNMBR", NcidFieldText(call.formattedNumber, kNcidNumberChars, kNcidDash));
    if (!call.country.empty()) AppendPair(out, "CTRY", NcidFieldText(call.country, 2, "ZZ"));
    if (!call.town.empty())
        AppendPair(out, "LOCA", NcidFieldText(call.town, kNcidNameChars, kNcidDash));
    AppendPair(out, "NAME", NcidFieldText(call.name, kNcidNameChars, kNcidNoName));
    out += "\r\n";
    return out;
}

// Civil date of a day number counted from 1970-01-01 (proleptic Gregorian calendar).
void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

std::string CidLine(const NcidCall& call) {
    return CallLine("CID:", call);
}

std::string CidLogLine(const NcidCall& call) {
    return CallLine("CIDLOG:", call);
}

std::string CidInfoEndLine(std::string_view line, std::string_view timeHhMmSs) {
    std::string out = "CIDINFO: *";
    AppendPair(out, "LINE", NcidFieldText(line, kNcidLineChars, kNcidNoLine));
    AppendPair(out, "RING", "0");
    AppendPair(out, "TIME", NcidFieldText(timeHhMmSs, 8, "00:00:00"));
    out += "\r\n";
    return out;
}

NcidDateTime NcidDateTimeOf(double dayCount) {
    if (!std::isfinite(dayCount) || dayCount < 0 || dayCount >= kEndOfYear9999) dayCount = 0;
    // Whole seconds, rounded: a time stored as 14:35:00 may read back a hair below it.
    const auto end = static_cast<long long>(kEndOfYear9999) * 86400;
    long long seconds = std::min(std::llround(dayCount * 86400.0), end - 1);
    const long long days = seconds / 86400;
    const int second = static_cast<int>(seconds % 86400);
    int year = 0, month = 0, day = 0;
    CivilFromDays(days - 25569, year, month, day);  // day 25569 is 1 January 1970
    const int h = second / 3600, m = second / 60 % 60, s = second % 60;
    char date[32], time[32], full[32];
    std::snprintf(date, sizeof date, "%02d%02d%04d", month, day, year);
    std::snprintf(time, sizeof time, "%02d%02d", h, m);
    std::snprintf(full, sizeof full, "%02d:%02d:%02d", h, m, s);
    return {date, time, full};
}

}  // namespace telvor
