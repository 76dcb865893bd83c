#include "ui/StartAtLogon.h"

#include <algorithm>

namespace telvor {

bool SetStartAtLogon(LogonStart& start, bool wanted) {
    if (start.Enabled() == wanted) return true;
    return wanted ? start.Enable() : start.Disable();
}

bool SameWindowsPath(std::string_view a, std::string_view b) {
    const auto fold = [](char c) {
        if (c == '/') return '\\';
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace telvor
