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

std::string TrayTipText(std::string_view text) { return std::string(text.substr(0, 63)); }

std::string DefaultLogFile(std::string_view exePath) {
    const auto slash = exePath.find_last_of("\\/:");
    const auto dot = exePath.find_last_of('.');
    const bool hasExt = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    return std::string(hasExt ? exePath.substr(0, dot) : exePath) + ".log";
}

}  // namespace telvor
