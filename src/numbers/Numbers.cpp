#include "numbers/Numbers.h"

#include <array>
#include <fstream>
#include <iterator>

#include "base/StringTable.h"

namespace telvor {
namespace {

// Keypad value of every byte (Windows-1252); 0 means the byte is dropped.
constexpr std::array<char, 256> MakeKeypadTable() {
    std::array<char, 256> table{};
    for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<char>(c);
    table['*'] = '*';
    table['#'] = '#';
    constexpr const char* kLetters[] = {"ABC", "DEF", "GHI", "JKL", "MNO", "PQRS", "TUV", "WXYZ"};
    for (int key = 0; key < 8; ++key) {
        for (const char* p = kLetters[key]; *p != '\0'; ++p) {
            const char digit = static_cast<char>('2' + key);
            table[static_cast<unsigned char>(*p)] = digit;
            table[static_cast<unsigned char>(*p - 'A' + 'a')] = digit;
        }
    }
    // Ä Ö Ü ß ä ö ü: no keypad letter of their own; they dial as 1.
    for (unsigned char c : {0xC4, 0xD6, 0xDC, 0xDF, 0xE4, 0xF6, 0xFC}) table[c] = '1';
    return table;
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// code (as written) upper-cased is a prefix of key.
bool CodePrefixesKey(std::string_view code, std::string_view key) {
    if (code.size() > key.size()) return false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (UpperAscii(code[i]) != key[i]) return false;
    }
    return true;
}

TownMatch NotFound() {
    TownMatch match;
    match.town = UnknownCallerText;
    return match;
}

}  // namespace

const std::array<char, 256> detail::kKeypadTable = MakeKeypadTable();

std::string KeypadDigits(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        const char mapped = KeypadDigit(c);
        if (mapped != 0) result.push_back(mapped);
    }
    return result;
}

bool AreaCodeList::LoadFromFile(const std::string& path) {
    lines_.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    LoadFromText(text);
    return true;
}

void AreaCodeList::LoadFromText(std::string_view text) {
    lines_.clear();
    // Lines end with CR LF, LF or a lone CR. Empty lines can never match and are skipped.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) lines_.emplace_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
}

void AreaCodeList::SetLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
}

TownMatch AreaCodeList::FindTown(char marker, std::string_view digits,
                                 std::string_view prefix) const {
    std::string key(1, UpperAscii(marker));
    key += KeypadDigits(digits);
    for (const std::string& line : lines_) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) continue;
        const std::string_view code(line.data(), tab);
        if (!CodePrefixesKey(code, key)) continue;
        // First matching line decides, even when it names the town "unknown".
        const std::string_view town(line.data() + tab + 1, line.size() - tab - 1);
        if (town == UnknownCallerText) return NotFound();
        TownMatch match;
        match.found = true;
        match.town = std::string(town);
        match.areaCode = std::string(prefix);
        match.areaCode += code.substr(1);
        return match;
    }
    return NotFound();
}

NumberKind NumberKindOf(unsigned char typeOctet) {
    switch ((typeOctet >> 4) & 0x07u) {
        case 0x2:
            return NumberKind::National;
        case 0x1:
            return NumberKind::International;
        default:
            return NumberKind::Neither;
    }
}

NormalisedNumber NormaliseCallingNumber(unsigned char typeOctet, std::string_view digits,
                                        const AreaCodeList& areaCodes,
                                        std::string_view nationalPrefix,
                                        std::string_view internationalPrefix) {
    NormalisedNumber result;
    result.kind = NumberKindOf(typeOctet);
    if (result.kind == NumberKind::National) {
        result.town = areaCodes.FindTown('N', digits, nationalPrefix);
        result.number = std::string(nationalPrefix);
    } else if (result.kind == NumberKind::International) {
        result.town = areaCodes.FindTown('I', digits, internationalPrefix);
        result.number = std::string(internationalPrefix);
    } else {
        result.town = NotFound();
    }
    result.number += digits;
    return result;
}

}  // namespace telvor
