#include "ncid/CidReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "base/TextEncoding.h"
#include "ncid/CallerText.h"

namespace telvor {
namespace {

using Pairs = std::map<std::string_view, std::string_view>;

// The pairs of a line of `type`; nothing when the line is of another type.
std::optional<Pairs> FieldPairs(std::string_view line, std::string_view type) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || line.substr(0, colon) != type) return std::nullopt;
    std::string_view rest = line.substr(colon + 1);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    // The first pair starts after "*" (or "***", which some lines use).
    rest.remove_prefix(std::min(rest.find_first_not_of('*'), rest.size()));
    Pairs pairs;
    while (!rest.empty()) {
        const std::size_t labelEnd = rest.find('*');
        if (labelEnd == std::string_view::npos) break;  // a label without data
        const std::string_view label = rest.substr(0, labelEnd);
        rest.remove_prefix(labelEnd + 1);
        const std::size_t dataEnd = std::min(rest.find('*'), rest.size());
        pairs.emplace(label, rest.substr(0, dataEnd));  // the first of a label stays
        rest.remove_prefix(std::min(dataEnd + 1, rest.size()));
    }
    return pairs;
}

std::string_view Field(const Pairs& pairs, std::string_view label) {
    const auto it = pairs.find(label);
    return it == pairs.end() ? std::string_view() : it->second;
}

// The field as Windows-1252 text, empty for the no-value words.
std::string Text(const Pairs& pairs, std::string_view label) {
    const std::string_view data = Field(pairs, label);
    return IsNcidNoValue(data) ? std::string() : Utf8ToCp1252(data);
}

std::string Digits(const Pairs& pairs, std::string_view label, std::size_t count) {
    const std::string_view data = Field(pairs, label);
    const bool digits = data.size() == count && std::all_of(data.begin(), data.end(), [](char c) {
                            return std::isdigit(static_cast<unsigned char>(c)) != 0;
                        });
    return digits ? std::string(data) : std::string();
}

std::string Cut(std::string text, std::size_t maxChars) {
    if (text.size() > maxChars) text.resize(maxChars);
    return text;
}

}  // namespace

std::optional<NcidCall> ParseCidLine(std::string_view line) {
    const auto pairs = FieldPairs(line, "CID");
    if (!pairs || (!pairs->contains("NMBR") && !pairs->contains("NAME"))) return std::nullopt;
    NcidCall call;
    call.date = Digits(*pairs, "DATE", 8);
    call.time = Digits(*pairs, "TIME", 4);
    call.line = Cut(SafeCallerName(Text(*pairs, "LINE")), kNcidLineChars);
    call.number = Cut(SafeCallerNumber(Text(*pairs, "NMBR")), kNcidNumberChars);
    call.mesg = Cut(SafeCallerName(Text(*pairs, "MESG")), kNcidLineChars);
    call.name = Cut(SafeCallerName(Text(*pairs, "NAME")), kNcidNameChars);
    call.town = Cut(SafeCallerName(Text(*pairs, "LOCA")), kNcidNameChars);
    call.country = Cut(SafeCallerName(Text(*pairs, "CTRY")), 2);
    call.formattedNumber = Cut(SafeCallerName(Text(*pairs, "FNMBR")), kNcidNumberChars);
    return call;
}

std::optional<std::string> ParseCallEnd(std::string_view line) {
    if (const auto info = FieldPairs(line, "CIDINFO")) {
        const std::string_view ring = Field(*info, "RING");
        int count = 1;
        const auto [end, error] = std::from_chars(ring.data(), ring.data() + ring.size(), count);
        if (error != std::errc() || end != ring.data() + ring.size() || count > 0)
            return std::nullopt;
        return Cut(SafeCallerName(Text(*info, "LINE")), kNcidLineChars);
    }
    if (const auto end = FieldPairs(line, "END")) {
        const std::string_view type = Field(*end, "CTYPE");
        if (!type.empty() && type != "IN") return std::nullopt;
        return Cut(SafeCallerName(Text(*end, "LINE")), kNcidLineChars);
    }
    return std::nullopt;
}

}  // namespace telvor
