#include "ui/EntryRules.h"

#include "store/CallerDatabase.h"

namespace telvor {
namespace {

bool BeginsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Upper case of the ANSI code page's Latin letters (the area-code file holds "N" and "I"
// markers and digits; towns are never compared).
char Upper(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') return static_cast<char>(u - 'a' + 'A');
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 0x20);
    return c;
}

std::string Marked(char marker, std::string_view rest) {
    std::string key(1, marker);
    key.append(rest);
    return key;
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

std::string EntryTownKey(std::string_view number, std::string_view nationalPrefix,
                         std::string_view internationalPrefix) {
    if (!internationalPrefix.empty() && !BeginsWith(number, internationalPrefix)) {
        if (!nationalPrefix.empty() && !BeginsWith(number, nationalPrefix)) return {};
        return Marked('N', number.substr(nationalPrefix.size()));
    }
    return Marked('I', number.substr(internationalPrefix.size()));
}

std::string EntryTownText(std::string_view key, const std::vector<std::string>& areaCodeLines) {
    if (key.empty()) return {};
    for (const std::string& line : areaCodeLines) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0 || tab > key.size()) continue;
        bool match = true;
        for (std::size_t i = 0; i < tab && match; ++i) match = Upper(line[i]) == key[i];
        if (match) return line.substr(tab + 1);
    }
    return {};
}

DmailBox DmailBoxFor(int dmailMode, bool rowFlag) {
    switch (dmailMode) {
        case 0:
        case 1:
            return {false, true};
        case 2:
            return {true, rowFlag};
        default:
            return {false, false};
    }
}

std::string BrowseFolder(std::string_view programField) {
    const std::size_t last = programField.find_last_of("\\:");
    return last == std::string_view::npos ? std::string()
                                          : std::string(programField.substr(0, last + 1));
}

std::string ProgramColumnFromFields(std::string_view program, std::string_view parameter) {
    if (IsBlank(program) && IsBlank(parameter)) return {};
    return JoinProgramColumn(program, parameter);
}

}  // namespace telvor
