#include "monitor/NetworkIncoming.h"

#include "numbers/Numbers.h"
#include "store/AppSettings.h"
#include "store/SettingsStore.h"

namespace telvor {

namespace {

// Octet 3 of a calling party number: extension bit and ISDN numbering plan, with the type.
constexpr char kUnknownType = '\x81';
constexpr char kInternationalType = '\x91';
constexpr char kNationalType = '\xA1';
constexpr char kPresentationAllowed = '\x80';

bool StartsWith(std::string_view text, std::string_view prefix) {
    return !prefix.empty() && text.substr(0, prefix.size()) == prefix;
}

// Windows-1252 lower case: ASCII, and the accented capitals from À to Þ (× is none).
unsigned char Lower(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<unsigned char>(u + 0x20);
    return u;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

int Digits(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool LeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

}  // namespace

std::string LineFormCallingNumber(std::string_view number, std::string_view nationalPrefix,
                                  std::string_view internationalPrefix) {
    if (number.empty()) return {};
    char type = kUnknownType;
    if (number.front() == '+' || StartsWith(number, internationalPrefix)) {
        type = kInternationalType;
        number.remove_prefix(number.front() == '+' ? 1 : internationalPrefix.size());
        // A call from the own country, as a VoIP line writes it (E.164), is a national one,
        // so that its area code and the database's national numbers match; "+49 0711" too.
        if (StartsWith(number, kOwnCountryCode)) {
            type = kNationalType;
            number.remove_prefix(std::string_view(kOwnCountryCode).size());
            if (StartsWith(number, nationalPrefix)) number.remove_prefix(nationalPrefix.size());
        }
    } else if (StartsWith(number, nationalPrefix)) {
        type = kNationalType;
        number.remove_prefix(nationalPrefix.size());
    }
    std::string out{type, kPresentationAllowed};
    out += number;
    return out;
}

NetworkLine MatchNetworkLine(SettingsStore& store, std::string_view lineId) {
    NetworkLine result{false, std::string(lineId)};
    if (lineId.empty()) return result;
    const std::vector<MsnEntry> entries = ReadMsnList(store);
    for (const MsnEntry& entry : entries)
        if (entry.number == lineId) return {true, entry.number};
    for (const MsnEntry& entry : entries)
        if (SameIgnoringCase(entry.name, lineId)) return {true, entry.number};
    return result;
}

std::optional<CalendarMinute> NcidCallMinute(std::string_view date, std::string_view time) {
    if (date.size() != 8 || time.size() != 4) return std::nullopt;
    const CalendarMinute m{Digits(date.substr(4)), Digits(date.substr(0, 2)),
                           Digits(date.substr(2, 2)), Digits(time.substr(0, 2)),
                           Digits(time.substr(2))};
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m.year < 1900 || m.month < 1 || m.month > 12 || m.day < 1 || m.hour < 0 || m.hour > 23 ||
        m.minute < 0 || m.minute > 59)
        return std::nullopt;
    const int days = kDays[m.month - 1] + (m.month == 2 && LeapYear(m.year) ? 1 : 0);
    if (m.day > days) return std::nullopt;
    return m;
}

IncomingCall NetworkIncomingCall(const NcidCall& call, std::int32_t id, SettingsStore& store) {
    IncomingCall in;
    in.plci = id;
    in.origin = CallOrigin::Network;
    in.cipValue = kNetworkCallCip;
    in.callingNumber =
        LineFormCallingNumber(call.number, store.ReadString(kSettingsSection, "NationalCalls", "0"),
                              store.ReadString(kSettingsSection, "InternationalCalls", "00"));
    NetworkLine line = MatchNetworkLine(store, call.line);
    in.lineListed = line.listed;
    in.calledNumber = std::move(line.calledNumber);
    in.networkName = call.name;
    return in;
}

}  // namespace telvor
