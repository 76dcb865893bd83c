#pragma once
// Decisions the monitor takes while it starts, stated without the platform.
#include <optional>
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
inline bool IsOldWindows(const WindowsVersion& v) {
    return v.major < 4;
}
// Network forwarding is switched off for the run on the NT platform.
inline bool AllowsNetDde(const WindowsVersion& v) {
    return v.platformId != 2;
}
// Whether a refused write of the network DDE share record is shown. It needs write access to
// the local machine's tree, which a user without administrator rights on NT lacks; but there
// forwarding is off for the run and the record serves nothing, so the failure is not shown
// (the write is still attempted). Where the version is unknown, it is shown.
inline bool ShowsShareRecordFailure(const std::optional<WindowsVersion>& v) {
    return !v || AllowsNetDde(*v);
}

}  // namespace telvor
