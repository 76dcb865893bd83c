#include "store/SettingsStore.h"

#include <charconv>
#include <optional>
#include <string>

namespace telvor {
namespace {

// The whole text must be the number: no blanks, no trailing characters, no overflow.
std::optional<long long> ParseDigits(std::string_view digits, int base, bool negative) {
    if (digits.empty()) return std::nullopt;
    unsigned long long magnitude = 0;
    const char* first = digits.data();
    const char* last = first + digits.size();
    auto [end, error] = std::from_chars(first, last, magnitude, base);
    if (error != std::errc{} || end != last) return std::nullopt;
    constexpr unsigned long long kMaxPositive = 9223372036854775807ULL;
    if (negative) {
        if (magnitude > kMaxPositive + 1) return std::nullopt;
        return magnitude == kMaxPositive + 1 ? static_cast<long long>(-kMaxPositive) - 1
                                             : -static_cast<long long>(magnitude);
    }
    if (magnitude > kMaxPositive) return std::nullopt;
    return static_cast<long long>(magnitude);
}

std::optional<long long> ParseInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseDigits(text.substr(2), 16, false);
    if (!text.empty() && text[0] == '$') return ParseDigits(text.substr(1), 16, false);
    bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    // from_chars would accept a second sign; the stored form has at most the one '-'.
    if (!text.empty() && (text[0] < '0' || text[0] > '9')) return std::nullopt;
    return ParseDigits(text, 10, negative);
}

}  // namespace

long long SettingsStore::ReadInteger(std::string_view section, std::string_view name,
                                     long long def) {
    // A missing value reads as empty text, which is not a number either.
    return ParseInteger(ReadString(section, name, {})).value_or(def);
}

bool SettingsStore::ReadBool(std::string_view section, std::string_view name, bool def) {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

void SettingsStore::WriteInteger(std::string_view section, std::string_view name, long long value) {
    WriteString(section, name, std::to_string(value));
}

void SettingsStore::WriteBool(std::string_view section, std::string_view name, bool value) {
    WriteString(section, name, value ? "1" : "0");
}

}  // namespace telvor
