#pragma once
// The system's file-open dialog as a form keeps it: given its title and filter once, when the
// form is created, and run any number of times. Title and filter are string-table texts; a
// filter is written as the table holds it, "Name|*.ext|Name|*.ext".
#include <windows.h>
// The OFN_ options; windows.h leaves them out in lean builds.
#include <commdlg.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

// A filter "Name|*.ext|..." in the system's form: each part ended by a NUL, one NUL more at
// the end.
std::string SystemFilter(std::string_view filter);

// The parts every file dialog of the program sets: owner, filter (in the system's form, kept
// alive by the caller), the first type chosen, the file name buffer and the title (none when
// empty). The caller adds its options.
OPENFILENAMEA FileDialogBase(HWND owner, const std::string& systemFilter, std::vector<char>& file,
                             const std::string& title);

class OpenFileDialog {
  public:
    // `options`: OFN_ flags.
    explicit OpenFileDialog(DWORD options) : options_(options) {}

    void SetTitle(std::string title) { title_ = std::move(title); }
    void SetFilter(std::string filter) { filter_ = std::move(filter); }
    const std::string& Title() const { return title_; }
    const std::string& Filter() const { return filter_; }

    // Modal over `owner`, starting with the file name `preset` in `folder` (empty: the
    // system's choice). The chosen file's path; nothing when the user cancelled, or when the
    // preset is too long for any dialog to hold.
    std::optional<std::string> Run(HWND owner, std::string_view preset = {},
                                   const std::string& folder = {}) const;

  private:
    DWORD options_;
    std::string title_;
    std::string filter_;
};

}  // namespace telvor
