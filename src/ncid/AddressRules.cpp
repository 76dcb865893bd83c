#include "ncid/AddressRules.h"

#include <algorithm>
#include <cstdio>

namespace telvor {
namespace {

std::optional<unsigned> ParseDecimal(std::string_view text, unsigned max) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > max) return std::nullopt;
    return value;
}

bool ParseV4(std::string_view text, std::uint8_t* out) {
    for (int i = 0; i < 4; ++i) {
        const std::size_t dot = text.find('.');
        if ((i < 3) == (dot == std::string_view::npos)) return false;
        const auto part = ParseDecimal(text.substr(0, dot), 255);
        if (!part) return false;
        out[i] = static_cast<std::uint8_t>(*part);
        text.remove_prefix(i < 3 ? dot + 1 : text.size());
    }
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Groups of up to four hex digits separated by ':' (the last two groups may be a dotted IPv4
// address, where `dottedEnd` allows it); appends their bytes. False on anything else.
bool ParseGroups(std::string_view text, bool dottedEnd, std::vector<std::uint8_t>& bytes) {
    if (text.empty()) return true;
    while (true) {
        const std::size_t colon = text.find(':');
        const std::string_view group = text.substr(0, colon);
        if (dottedEnd && colon == std::string_view::npos &&
            group.find('.') != std::string_view::npos) {
            std::uint8_t v4[4];
            if (!ParseV4(group, v4)) return false;
            bytes.insert(bytes.end(), v4, v4 + 4);
            return true;
        }
        if (group.empty() || group.size() > 4) return false;
        unsigned value = 0;
        for (char c : group) {
            const int digit = HexValue(c);
            if (digit < 0) return false;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        if (colon == std::string_view::npos) return true;
        text.remove_prefix(colon + 1);
        if (bytes.size() > 16) return false;
    }
}

bool ParseV6(std::string_view text, std::uint8_t* out) {
    const std::size_t gap = text.find("::");
    std::vector<std::uint8_t> head, tail;
    if (gap == std::string_view::npos) {
        if (!ParseGroups(text, true, head) || head.size() != 16) return false;
    } else {
        if (text.find("::", gap + 1) != std::string_view::npos) return false;
        if (!ParseGroups(text.substr(0, gap), false, head) ||
            !ParseGroups(text.substr(gap + 2), true, tail))
            return false;
        // "::" stands for at least one group of zeros.
        if (head.size() + tail.size() > 14) return false;
    }
    std::fill(out, out + 16, 0);
    std::copy(head.begin(), head.end(), out);
    std::copy(tail.begin(), tail.end(), out + 16 - tail.size());
    return true;
}

bool IsV4Mapped(const NetAddress& a) {
    if (!a.v6) return false;
    for (int i = 0; i < 10; ++i)
        if (a.bytes[i] != 0) return false;
    return a.bytes[10] == 0xFF && a.bytes[11] == 0xFF;
}

bool InRange(const AddressRange& range, const NetAddress& peer) {
    if (range.base.v6 != peer.v6) return false;
    int bits = range.prefixBits;
    for (std::size_t i = 0; bits > 0; ++i, bits -= 8) {
        const std::uint8_t mask = bits >= 8 ? 0xFF : static_cast<std::uint8_t>(0xFF << (8 - bits));
        if ((range.base.bytes[i] & mask) != (peer.bytes[i] & mask)) return false;
    }
    return true;
}

std::optional<AddressRange> ParseRange(std::string_view entry) {
    const std::size_t slash = entry.find('/');
    const auto base = ParseNetAddress(entry.substr(0, slash));
    if (!base) return std::nullopt;
    const unsigned maxBits = base->v6 ? 128 : 32;
    unsigned bits = maxBits;
    if (slash != std::string_view::npos) {
        const auto parsed = ParseDecimal(entry.substr(slash + 1), maxBits);
        if (!parsed) return std::nullopt;
        bits = *parsed;
    }
    return AddressRange{*base, static_cast<int>(bits)};
}

}  // namespace

NetAddress NetAddress::V4(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    NetAddress address;
    address.bytes[0] = a;
    address.bytes[1] = b;
    address.bytes[2] = c;
    address.bytes[3] = d;
    return address;
}

std::optional<NetAddress> ParseNetAddress(std::string_view text) {
    NetAddress address;
    if (text.find(':') != std::string_view::npos) {
        address.v6 = true;
        if (!ParseV6(text, address.bytes.data())) return std::nullopt;
    } else if (!ParseV4(text, address.bytes.data())) {
        return std::nullopt;
    }
    return address;
}

std::string FormatNetAddress(const NetAddress& a) {
    char text[48];
    if (!a.v6) {
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", a.bytes[0], a.bytes[1], a.bytes[2],
                      a.bytes[3]);
        return text;
    }
    // Full form without shortening: for diagnostics, not for display rules.
    std::string out;
    for (int i = 0; i < 16; i += 2) {
        std::snprintf(text, sizeof text, "%s%x", i ? ":" : "", (a.bytes[i] << 8) | a.bytes[i + 1]);
        out += text;
    }
    return out;
}

std::optional<AddressRules> AddressRules::Parse(std::string_view text) {
    AddressRules rules;
    constexpr std::string_view kSeparators = ", ;\t";
    while (true) {
        const std::size_t start = text.find_first_not_of(kSeparators);
        if (start == std::string_view::npos) break;
        text.remove_prefix(start);
        const std::size_t end = std::min(text.find_first_of(kSeparators), text.size());
        const auto range = ParseRange(text.substr(0, end));
        if (!range) return std::nullopt;
        rules.ranges_.push_back(*range);
        text.remove_prefix(end);
    }
    if (rules.ranges_.empty()) return std::nullopt;
    return rules;
}

AddressRules AddressRules::Default() {
    return *Parse(kDefaultAllowText);
}

bool AddressRules::Allows(const NetAddress& peer) const {
    NetAddress tested = peer;
    if (IsV4Mapped(peer))
        tested = NetAddress::V4(peer.bytes[12], peer.bytes[13], peer.bytes[14], peer.bytes[15]);
    for (const AddressRange& range : ranges_)
        if (InRange(range, tested)) return true;
    return false;
}

}  // namespace telvor
