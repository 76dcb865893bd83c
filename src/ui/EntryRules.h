#pragma once
// The entry dialog's rules that need no window: the town shown for a typed number, the
// notification check box for the dmail mode, the browse folder, and the program column made
// from the fields when the user confirms.
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

// The area-code key of a typed number: "I" + the number without the international prefix
// when that prefix is empty or begins the number; else "N" + the number without the national
// prefix when that is empty or begins the number; else empty (a number without prefix is not
// looked up). The number is used as typed (no keypad conversion).
std::string EntryTownKey(std::string_view number, std::string_view nationalPrefix,
                         std::string_view internationalPrefix);

// The text after the first tab of the first area-code line whose text before that tab,
// upper-cased, begins `key`; empty when none matches. Lines without a tab or with nothing
// before it never match.
std::string EntryTownText(std::string_view key, const std::vector<std::string>& areaCodeLines);

// The notification check box for the dmail mode (DMWhenRG: 0 all calls, 1 calls with a
// number, 2 marked callers and MSNs, 3 never) and the row's flag: only mode 2 lets the user
// change it.
struct DmailBox {
    bool enabled = false;
    bool checked = false;
};
DmailBox DmailBoxFor(int dmailMode, bool rowFlag);

// The folder the file dialog opens in: the program field up to and including its last '\' or
// ':'; empty when there is none.
std::string BrowseFolder(std::string_view programField);

// The program column for the row when the dialog is confirmed: empty when the program and
// the parameters are both blank (spaces only), else the joined column of the program (quotes
// removed, otherwise untrimmed) and the parameters as typed.
std::string ProgramColumnFromFields(std::string_view program, std::string_view parameter);

}  // namespace telvor
