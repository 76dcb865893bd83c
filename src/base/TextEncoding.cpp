#include "base/TextEncoding.h"

#include <array>
#include <cstdint>

namespace telvor {
namespace {

// Unicode of the Windows-1252 bytes 0x80..0x9F; 0 where the code page assigns nothing.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t UnicodeOf(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    const char32_t mapped = kHighControls[byte - 0x80];
    return mapped != 0 ? mapped : byte;  // unassigned: the C1 control of the same value
}

char Cp1252Of(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        const char32_t mapped = kHighControls[i];
        if (mapped == code || (mapped == 0 && code == 0x80 + i)) return static_cast<char>(0x80 + i);
    }
    return '?';
}

// The code point that starts at text[at] and its length in bytes; length 0 when the bytes
// there are not well-formed UTF-8.
struct Decoded {
    char32_t code = 0;
    std::size_t length = 0;
};

Decoded DecodeUtf8(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07u, least = 0x10000;
    } else {
        return {};
    }
    if (at + length > text.size()) return {};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) return {};
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    return {code, length};
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::string Utf16ToCp1252(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    const auto unit = [&](std::size_t at) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[at]);
        const auto b = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const char32_t first = unit(at);
        if (first >= 0xD800 && first <= 0xDBFF && at + 3 < bytes.size()) {
            const char32_t second = unit(at + 2);
            if (second >= 0xDC00 && second <= 0xDFFF) {
                at += 2;  // a character outside the basic plane: never in Windows-1252
                out.push_back('?');
                continue;
            }
        }
        out.push_back(first >= 0xD800 && first <= 0xDFFF ? '?' : Cp1252Of(first));
    }
    return out;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const Decoded d = DecodeUtf8(text, at);
        if (d.length == 0) return false;
        at += d.length;
    }
    return true;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const Decoded d = DecodeUtf8(utf8, at);
        if (d.length == 0) {
            out.push_back('?');
            ++at;
        } else {
            out.push_back(Cp1252Of(d.code));
            at += d.length;
        }
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) AppendUtf8(out, UnicodeOf(static_cast<unsigned char>(c)));
    return out;
}

std::string DecodeTextFile(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return Utf8ToCp1252(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE")) return Utf16ToCp1252(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return Utf16ToCp1252(bytes.substr(2), true);
    if (IsValidUtf8(bytes)) return Utf8ToCp1252(bytes);
    return std::string(bytes);
}

}  // namespace telvor
