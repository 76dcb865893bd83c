#include "ncid/CallerText.h"

#include <array>
#include <cctype>

namespace telvor {
namespace {

bool IsCommandCharacter(char c) {
    return std::string_view("\"'%&|<>^!").find(c) != std::string_view::npos;
}

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != static_cast<unsigned char>(b[i]))
            return false;
    return true;
}

}  // namespace

std::string SafeCallerNumber(std::string_view text) {
    std::string out;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '+' || c == '*' || c == '#') out += c;
    return out;
}

std::string SafeCallerName(std::string_view text) {
    std::string out;
    for (char c : text)
        if (!IsControl(static_cast<unsigned char>(c)) && !IsCommandCharacter(c)) out += c;
    return std::string(TrimBlanks(out));
}

bool IsNcidNoValue(std::string_view text) {
    static constexpr std::array<std::string_view, 8> kWords = {
        "-", "NO NAME", "NO-NUMBER", "NO-LINE", "NONE", "OUT-OF-AREA", "ANONYMOUS", "PRIVATE"};
    text = TrimBlanks(text);
    for (std::string_view word : kWords)
        if (EqualsIgnoringCase(text, word)) return true;
    return false;
}

}  // namespace telvor
