#include "netdde/NetDdeNames.h"

#include <algorithm>
#include <cctype>

namespace telvor {

namespace {

// Characters a computer name may carry.
bool IsComputerNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) return true;  // accented letters of the ANSI code page
    if (std::isalnum(u)) return true;
    return std::string_view("-_.$!#%&'()@^{}~").find(c) != std::string_view::npos;
}

}  // namespace

std::string ServerServiceName(std::string_view exePath) {
    const std::size_t slash = exePath.find_last_of("\\/:");
    std::string_view name = slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    return std::string(name);
}

std::string ClientServiceName(std::string_view clientId) {
    return std::string(clientId) + kClientServiceSuffix;
}

bool IsMachinePath(std::string_view clientId) {
    if (clientId.size() < 4 || clientId.size() > 2 + kMaxComputerName + 1) return false;
    if (!clientId.starts_with("\\\\") || !clientId.ends_with('\\')) return false;
    const std::string_view name = clientId.substr(2, clientId.size() - 3);
    return name.front() != '.' && std::all_of(name.begin(), name.end(), IsComputerNameChar);
}

}  // namespace telvor
