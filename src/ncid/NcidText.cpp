#include "ncid/NcidText.h"

#include <algorithm>
#include <cstdint>

namespace telvor {
namespace {

// Code points of 0x80..0x9F; the rest of the upper half equals Latin-1.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

constexpr unsigned char kTimesSign = 0xD7;  // '×' in Windows-1252

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Stops before the character that would pass maxBytes, so no character is ever split.
std::string ToUtf8(std::string_view cp1252, std::size_t maxBytes) {
    std::string out;
    out.reserve(std::min(cp1252.size() * 2, maxBytes));
    for (char ch : cp1252) {
        const auto c = static_cast<unsigned char>(ch);
        const std::size_t before = out.size();
        AppendUtf8(out, c >= 0x80 && c < 0xA0 ? kHighControls[c - 0x80] : c);
        if (out.size() > maxBytes) {
            out.resize(before);
            break;
        }
    }
    return out;
}

}  // namespace

std::string NcidFieldText(std::string_view cp1252, std::size_t maxChars,
                          std::string_view whenEmpty) {
    std::string safe;
    safe.reserve(std::min(cp1252.size(), maxChars));
    for (char ch : cp1252) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '*') {
            safe += static_cast<char>(kTimesSign);
        } else if (c < 0x20 || c == 0x7F) {
            safe += ' ';
        } else {
            safe += ch;
        }
    }
    const std::size_t first = safe.find_first_not_of(' ');
    if (first == std::string::npos) return std::string(whenEmpty);
    safe.erase(0, first);
    if (safe.size() > maxChars) safe.resize(maxChars);
    safe.erase(safe.find_last_not_of(' ') + 1);
    return ToUtf8(safe, 2 * maxChars);
}

}  // namespace telvor
