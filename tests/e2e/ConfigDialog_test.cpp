// The configuration dialog of a running monitor, reached as a user reaches it: from the icon
// and from a caller window's "&Datenbank...". What the entry dialog takes in must reach the
// caller database file and the settings on apply, and the next call must use it.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "store/CallerDatabase.h"
#include "support/CallScenario.h"
#include "support/CallerWindowView.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

constexpr LPARAM kLeftDoubleClick = 0x203;  // WM_LBUTTONDBLCLK, as the shell reports it
constexpr char kEntryTitle[] = "Datenbankeintrag editieren";

// Presses the `n`-th button (0 = first) of `dialog` with this text: both list pages have a
// "&Neu", the names list's first.
bool PressNthButton(HWND dialog, std::string_view text, std::size_t n) {
    for (const ChildControl& c : ChildControls(dialog)) {
        if (c.text != text || !IsClass(c.window, "Button") || n-- > 0) continue;
        return PostMessageA(GetParent(c.window), WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(c.window)) != FALSE;
    }
    return false;
}

// The entry dialog's edit fields in tab order: number, name, program, parameters.
std::vector<HWND> EntryFields(HWND entry) {
    std::vector<HWND> edits;
    for (const ChildControl& c : ChildControls(entry))
        if (IsClass(c.window, "Edit")) edits.push_back(c.window);
    return edits;
}

// Types into a field of another program: WM_SETTEXT sends EN_CHANGE as typing does.
void Type(HWND edit, const char* text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000,
                        &result);
}

// Fills the open entry dialog's number and name and presses "Ok"; with a town, the dialog
// must show it for the typed number first.
void EnterAndConfirm(HWND entry, const char* number, const char* name, const char* town = "") {
    const std::vector<HWND> fields = EntryFields(entry);
    ASSERT_EQ(fields.size(), 4u);
    Type(fields[0], number);
    Type(fields[1], name);
    if (*town) {
        EXPECT_TRUE(FindChildByText(entry, town)) << "the town of " << number;
    }
    ASSERT_TRUE(PressButton(entry, "Ok"));
    ASSERT_TRUE(WaitForWindowHidden(entry, 10s));
}

// One 832-byte record as the file must hold it, written out field by field.
std::string CallerRecordBytes(const std::string& number, const std::string& name) {
    std::string record(kCallerRecordSize, '\0');
    record[0] = static_cast<char>(number.size());
    record.replace(1, number.size(), number);
    record.replace(61, 3, "DM0");
    record[64] = static_cast<char>(name.size());
    record.replace(65, name.size(), name);
    return record;
}

std::optional<CallerWindowView> RingAndRead(MonitorCase& monitor, std::uint32_t plci,
                                            std::string_view calling) {
    if (!monitor.Ring(plci, 1, "4711", calling) ||
        !monitor.WaitForPut(capisim::kAlert, capisim::kReq, plci))
        return std::nullopt;
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    if (windows.empty()) return std::nullopt;
    return ReadCallerWindow(windows.back());
}

TEST(ConfigDialogFromTheIcon, NewCallerAndMsnAreStoredOnApplyAndTheNextCallUsesThem) {
    MonitorCase monitor;  // no MSN, no caller database yet
    ASSERT_TRUE(monitor.StartListening());
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);
    ASSERT_TRUE(monitor.Send(kTrayIconMessage, 1, kLeftDoubleClick));
    ASSERT_EQ(WaitForVisibleWindow("#32770", "Telvor einrichten", 10s), configure);

    // A caller through the names list's "&Neu": the entry dialog shows the town as typed.
    ASSERT_TRUE(PressNthButton(configure, "&Neu", 0));
    HWND entry = WaitForVisibleWindow("#32770", kEntryTitle, 10s);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(WindowText(EntryFields(entry).at(0)), "Neuer Eintrag");
    EXPECT_FALSE(FindChildByText(entry, "Stuttgart"));
    EnterAndConfirm(entry, "0711 555666", "Erika Beispiel", "Stuttgart");

    // An MSN through the MSN list's "&Neu".
    ASSERT_TRUE(PressNthButton(configure, "&Neu", 1));
    entry = WaitForVisibleWindow("#32770", kEntryTitle, 10s);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(FindChildByText(entry, "&MSN"));
    EnterAndConfirm(entry, "4711", "Büro");

    // Apply: the file holds exactly the one record, the MSN list the one entry. The call
    // list (empty) is the apply's last file: once it is there, everything is.
    ASSERT_TRUE(PressButton(configure, "Ü&bernehmen"));
    ASSERT_TRUE(PollUntil(10s, [&] { return FileExists(monitor.File("Calls.ddb")); }));
    EXPECT_EQ(ReadFileBytes(monitor.File("CallerList.ddb")),
              CallerRecordBytes("0711 555666", "Erika Beispiel"));
    EXPECT_FALSE(IsWindowEnabled(ButtonWithText(configure, "Ü&bernehmen")));
    EXPECT_EQ(ReadSetting("MSNs\\00000000", "Number"), "4711");
    EXPECT_EQ(ReadSetting("MSNs\\00000000", "Name"), "Büro");
    EXPECT_EQ(ReadSetting("MSNs\\00000000\\Show", "Audio"), "1") << "a new MSN shows calls";
    EXPECT_FALSE(SettingsKeyExists("MSNs\\00000001"));

    ASSERT_TRUE(PressButton(configure, "Ok"));
    ASSERT_TRUE(WaitForWindowHidden(configure, 10s));
    const auto view = RingAndRead(monitor, 0x101, "711555666");
    ASSERT_TRUE(view) << "a call to the new MSN is shown";
    EXPECT_EQ(view->name, "Erika Beispiel");
    EXPECT_NE(view->msn.find("Büro"), std::string::npos) << view->msn;
    EXPECT_FALSE(view->databaseVisible);
}

TEST(ConfigDialogFromACall, DatabaseButtonOpensTheEntryWithTheNumberAndOkStoresIt) {
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());
    const auto view = RingAndRead(monitor, 0x201, "89123456");
    ASSERT_TRUE(view);
    ASSERT_TRUE(view->databaseVisible);

    ASSERT_TRUE(PressButton(view->window, "&Datenbank..."));
    const HWND entry = WaitForVisibleWindow("#32770", kEntryTitle, 10s);
    ASSERT_NE(entry, nullptr);
    const std::vector<HWND> fields = EntryFields(entry);
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(WindowText(fields[0]), "089 123456") << "the caller's number, area code apart";
    EXPECT_EQ(WindowText(fields[1]), "");
    EXPECT_TRUE(FindChildByText(entry, "München"));
    Type(fields[1], "Neuer Kunde");
    ASSERT_TRUE(PressButton(entry, "Ok"));
    ASSERT_TRUE(WaitForWindowHidden(entry, 10s));
    EXPECT_TRUE(WaitForWindowGone(view->window, 10s)) << "the caller window closes after it";

    const HWND configure = WaitForVisibleWindow("#32770", "Telvor einrichten", 10s);
    ASSERT_NE(configure, nullptr);
    const std::string file = monitor.File("CallerList.ddb");
    ASSERT_TRUE(PressButton(configure, "Ok"));
    ASSERT_TRUE(WaitForWindowHidden(configure, 10s));
    std::vector<CallerRecord> callers;
    ASSERT_TRUE(PollUntil(30s, [&] {
        callers = LoadCallers(file);
        return callers.size() == 3;
    }));
    EXPECT_EQ(callers.back().number, "089 123456") << "the new row comes last";
    EXPECT_EQ(callers.back().name, "Neuer Kunde");
}

}  // namespace
}  // namespace telvor::e2e
