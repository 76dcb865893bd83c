#pragma once
// Decisions the monitor takes while it starts, stated without the platform.
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

// True when an argument longer than one character starts with '-' or '/' and the rest,
// upper-cased, reads NOICON ("-noicon", "/NoIcon"; not "NOICON", "--noicon", "-n").
bool HasNoIconSwitch(const std::vector<std::string>& args);

struct WindowsVersion {
    unsigned major = 0;
    unsigned platformId = 0;  // 2: the NT platform
};
// A shell without notification area: major version below 4.
inline bool IsOldWindows(const WindowsVersion& v) { return v.major < 4; }
// Network forwarding is switched off for the run on the NT platform.
inline bool AllowsNetDde(const WindowsVersion& v) { return v.platformId != 2; }

}  // namespace telvor
