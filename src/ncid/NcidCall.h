#pragma once
// One call as an NCID server reports it, and the lines that carry it: "CID:" when it rings,
// "CIDLOG:" in the call log a client gets on connecting, "CIDINFO:" when the ringing ended.
#include <string>
#include <string_view>

namespace telvor {

// Texts in Windows-1252 as the program holds them; the writers make them safe for the wire
// (NcidFieldText). Empty texts are written as the protocol's words for "no value".
struct NcidCall {
    std::string date;  // mmddyyyy
    std::string time;  // hhmm, 24 hours
    std::string line;  // which line rang: the MSN's name or number
    std::string number;
    std::string mesg;  // empty: "NONE"
    std::string name;
    // Optional pairs of API 1.11, written only when set.
    std::string town;             // LOCA
    std::string country;          // CTRY, two upper-case letters
    std::string formattedNumber;  // FNMBR
};

// Lengths a field is cut to (characters, NcidFieldText): the protocol asks for names of at
// most 50 and suggests short line ids, and numbers rarely pass 15. With them one CID line is
// at most about 460 bytes, and a log of 500 calls stays inside what one client may have
// waiting (NcidLimits::maxPendingOutput, 256 KiB).
inline constexpr std::size_t kNcidNameChars = 50;
inline constexpr std::size_t kNcidNumberChars = 24;
inline constexpr std::size_t kNcidLineChars = 20;

// "CID: *DATE*…*TIME*…*LINE*…*NMBR*…*MESG*…[*FNMBR*…][*CTRY*…][*LOCA*…]*NAME*…*" CR LF.
// NAME comes last, so that a client that reads it to the end of the line still gets it whole.
std::string CidLine(const NcidCall& call);
std::string CidLogLine(const NcidCall& call);

// "CIDINFO: *LINE*…*RING*0*TIME*hh:mm:ss*" CR LF: the ringing of a call on that line stopped.
std::string CidInfoEndLine(std::string_view line, std::string_view timeHhMmSs);

// Date ("mmddyyyy") and time ("hhmm") of an instant held as days since 30 December 1899. An
// instant the calendar cannot hold (not finite, before day 0 or after the year 9999) gives
// the zero instant, 12301899 0000, rather than a malformed field.
struct NcidDateTime {
    std::string date;
    std::string time;
    std::string timeWithSeconds;  // "hh:mm:ss", for CIDINFO
};
NcidDateTime NcidDateTimeOf(double dayCount);

}  // namespace telvor
