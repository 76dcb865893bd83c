// The start at logon follows the dialog's box, and leaves a matching shortcut untouched.
#include "ui/StartAtLogon.h"

#include <gtest/gtest.h>

namespace telvor {
namespace {

class FakeLogonStart : public LogonStart {
  public:
    bool Enabled() override { return enabled; }
    bool Enable() override { return Change(true); }
    bool Disable() override { return Change(false); }

    bool enabled = false;
    bool shellRefuses = false;
    int changes = 0;

  private:
    bool Change(bool on) {
        ++changes;
        if (shellRefuses) return false;
        enabled = on;
        return true;
    }
};

TEST(SetStartAtLogon, ChangesTheShortcutOnlyWhereItDiffersFromTheBox) {
    FakeLogonStart start;
    EXPECT_TRUE(SetStartAtLogon(start, false));
    EXPECT_EQ(start.changes, 0);
    EXPECT_TRUE(SetStartAtLogon(start, true));
    EXPECT_TRUE(start.enabled);
    EXPECT_TRUE(SetStartAtLogon(start, true));
    EXPECT_EQ(start.changes, 1) << "a shortcut that is there already stays as the user left it";
    EXPECT_TRUE(SetStartAtLogon(start, false));
    EXPECT_FALSE(start.enabled);
}

TEST(SetStartAtLogon, AShellThatRefusesIsReported) {
    FakeLogonStart start;
    start.shellRefuses = true;
    EXPECT_FALSE(SetStartAtLogon(start, true));
    start.enabled = true;
    EXPECT_FALSE(SetStartAtLogon(start, false));
}

TEST(SameWindowsPath, IgnoresLetterCaseAndSlashKindButNothingElse) {
    EXPECT_TRUE(SameWindowsPath("C:\\Users\\Ärger\\Telvor.exe", "c:/users/Ärger/TELVOR.EXE"));
    EXPECT_FALSE(SameWindowsPath("C:\\Telvor\\Telvor.exe", "C:\\Telvor\\Telvor.exe.lnk"));
    EXPECT_FALSE(SameWindowsPath("C:\\Telvor\\Telvor.exe", "D:\\Telvor\\Telvor.exe"));
}

}  // namespace
}  // namespace telvor
