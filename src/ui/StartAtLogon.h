#pragma once
// Start at logon: a shortcut to the program in the user's Startup folder, with the program's
// folder as working folder. The monitor reads AreaCode.txt from its working folder, which a
// value under HKCU\...\Run cannot set. The installer (packaging/Telvor.nsi) makes the same
// shortcut under the same name, so the dialog's box and the installer's option agree.
#include <string_view>

namespace telvor {

inline constexpr std::string_view kStartupShortcutName = "Telvor.lnk";

// The shortcut in the user's Startup folder, as the platform keeps it.
class LogonStart {
  public:
    virtual ~LogonStart() = default;
    // True when the shortcut is there and starts this program.
    virtual bool Enabled() = 0;
    // False when the shell refused.
    virtual bool Enable() = 0;
    virtual bool Disable() = 0;
};

// Makes the start at logon what the box says, touching the shortcut only when it differs (a
// shortcut the user has adjusted stays as it is). False when it could not be made so.
bool SetStartAtLogon(LogonStart& start, bool wanted);

// Windows paths name one file whatever the case of their letters and their separators.
bool SameWindowsPath(std::string_view a, std::string_view b);

}  // namespace telvor
