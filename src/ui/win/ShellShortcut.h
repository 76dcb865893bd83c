#pragma once
// Shell shortcuts (.lnk) through IShellLink, and the start at logon that one of them is.
#include <optional>
#include <string>

#include "ui/StartAtLogon.h"

namespace telvor {

struct ShellShortcut {
    std::string target;
    std::string arguments;
    std::string workingFolder;
};

// Nothing when the file is not a shortcut the shell can load.
std::optional<ShellShortcut> ReadShellShortcut(const std::string& path);
// Creates or replaces the shortcut; false when the shell refused.
bool WriteShellShortcut(const std::string& path, const ShellShortcut& shortcut);

// The user's Startup folder (CSIDL_STARTUP); empty when the shell has none.
std::string StartupFolder();

// The start at logon of the program `program` (full path): the shortcut kStartupShortcutName
// in the Startup folder, working in the program's folder.
class StartupShortcut : public LogonStart {
  public:
    explicit StartupShortcut(std::string program);
    bool Enabled() override;
    bool Enable() override;
    bool Disable() override;

  private:
    std::string Path() const;
    std::string program_;
};

// The full path of the running program.
std::string ThisProgram();

}  // namespace telvor
