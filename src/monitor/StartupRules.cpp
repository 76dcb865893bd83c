#include "monitor/StartupRules.h"

namespace telvor {

namespace {
std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}
}  // namespace

bool HasNoIconSwitch(const std::vector<std::string>& args) {
    bool noIcon = false;
    for (const std::string& arg : args) {
        if (arg.size() > 1 && (arg[0] == '-' || arg[0] == '/') &&
            AsciiUpper(std::string_view(arg).substr(1)) == "NOICON")
            noIcon = true;
    }
    return noIcon;
}

}  // namespace telvor
