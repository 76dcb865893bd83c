// The configuration dialog created hidden and driven through its handlers, as the monitor
// holds it: loading the option pages, what enables "Ü&bernehmen", the apply reaching the
// settings and the store, and an apply whose file cannot be written. Every wait is bounded.
#include "ui/win/ConfigDialog.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/StringTable.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "store/MemorySettingsStore.h"
#include "support/WinTestSupport.h"
#include "support/WindowProbe.h"
#include "ui/win/AboutBox.h"
#include "ui/win/EntryDialog.h"

namespace telvor {
namespace {

using test::WindowText;
using wintest::CaseDir;
using wintest::DialogAnswer;

class ConfigDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadStartupTexts();
        settings.callerFile = CaseDir() + "\\CallerList.ddb";
        settings.callFile = CaseDir() + "\\Calls.ddb";
        DeleteFileA(settings.callerFile.c_str());
        DeleteFileA(settings.callFile.c_str());
        std::string error;
        dialog = TConfigureForm::Create(nullptr, error);
        ASSERT_NE(dialog, nullptr) << error;
        about = TAboutBox::Create(nullptr, error);
        entry = TEditDbEntry::Create(nullptr, error);
        ASSERT_TRUE(about && entry) << error;
    }
    void Attach() {
        TConfigureForm::Links links;
        links.settings = &settings;
        links.store = &store;
        links.areaCodes = &areaCodes;
        links.dialogBusy = &busy;
        links.about = about.get();
        links.entry = entry.get();
        links.startNetDde = [this] { ++netDdeStarts; };
        links.applyNcidServer = [this] { ++ncidApplies; };
        links.applyNcidClient = [this] { ++ncidClientApplies; };
        links.showProtocol = [this](HWND) { ++protocolCommands; };
        links.deleteProtocol = [this](HWND) { ++protocolCommands; };
        dialog->Attach(links);
    }
    void TearDown() override {
        wintest::StopAnswering();
        dialog.reset();
        entry.reset();
        about.reset();
        wintest::PumpFor(50);
    }
    HWND Control(const char* name) { return dialog->GetForm().Control(name); }
    bool Enabled(const char* name) { return IsWindowEnabled(Control(name)) != FALSE; }
    void Type(const char* name, const std::string& text) {
        SetWindowTextA(Control(name), text.c_str());  // EN_CHANGE as typing sends it
    }
    int Rows(const char* list) {
        return static_cast<int>(SendMessageA(Control(list), LVM_GETITEMCOUNT, 0, 0));
    }

    MemorySettingsStore store;
    AppSettings settings;
    bool busy = false;
    int netDdeStarts = 0;
    int protocolCommands = 0;
    int ncidApplies = 0;
    int ncidClientApplies = 0;
    AreaCodeList areaCodes;
    std::unique_ptr<TAboutBox> about;
    std::unique_ptr<TEditDbEntry> entry;
    std::unique_ptr<TConfigureForm> dialog;
};

TEST_F(ConfigDialogTest, PagesCaptionsAndButtonsAsTheUserReadsThem) {
    EXPECT_EQ(WindowText(dialog->Handle()), "Telvor einrichten");
    EXPECT_EQ(WindowText(Control("UebernehmenB")), "Ü&bernehmen");
    EXPECT_EQ(WindowText(Control("CloseConnectRB")),
              "F&enster schließen, nachdem der Anruf angenommen wurde");
    EXPECT_EQ(WindowText(Control("Audio1CB")), WindowText(Control("Audio2CB")));
    EXPECT_EQ(TabCtrl_GetItemCount(Control("Pages")), 6);
    EXPECT_EQ(TabCtrl_GetItemCount(Control("MSNPages")), 2);
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_NE(GetWindowLongPtrA(dialog->Handle(), GWL_EXSTYLE) & WS_EX_CONTEXTHELP, 0);
    EXPECT_EQ(GetWindowContextHelpId(Control("DMWhenRG")), 1314u);
    // Closing options start disabled with the check box unchecked.
    EXPECT_FALSE(Enabled("CloseTimeE"));
    EXPECT_FALSE(Enabled("CloseConnectRB"));
}

TEST_F(ConfigDialogTest, ShowingLoadsTheOptionsAndLeavesNothingToApply) {
    settings.closeCallerForms = true;
    settings.closeTime = 60000;
    settings.closeAfterTime = true;
    settings.closeAfterConnect = true;
    settings.dmWhenMessage = 7;
    settings.dmPath = "c:\\dm.exe";
    store.WriteString("Settings", "NationalCalls", "0");
    Attach();
    dialog->FormShow();
    EXPECT_EQ(WindowText(Control("CloseTimeE")), "60");
    EXPECT_TRUE(Enabled("CloseTimeE"));
    EXPECT_FALSE(dialog->GetForm().Checked("CloseTimeRB"));
    EXPECT_TRUE(dialog->GetForm().Checked("CloseConnectRB"));
    EXPECT_EQ(dialog->GetForm().ItemIndex("DMWhenRG"), 3);
    EXPECT_EQ(WindowText(Control("DMailPathE")), "c:\\dm.exe");
    EXPECT_FALSE(dialog->ApplyEnabled());
    EXPECT_EQ(store.ReadString("Settings", "Version", "?"), "2.00");
}

TEST_F(ConfigDialogTest, DmailPageAloneLeavesApplyDisabledYetOkStoresIt) {
    Attach();
    dialog->FormShow();
    Type("DMailPathE", "d:\\neu\\dmail.exe");
    EXPECT_FALSE(dialog->ApplyEnabled());
    // A service box without a selected MSN changes nothing either.
    dialog->GetForm().Click("Audio2CB");
    EXPECT_FALSE(dialog->ApplyEnabled());
    dialog->GetForm().Click("OkB");
    EXPECT_EQ(store.ReadString("Settings", "DMPath", "?"), "d:\\neu\\dmail.exe");
    EXPECT_EQ(settings.dmPath, "d:\\neu\\dmail.exe");
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
}

TEST_F(ConfigDialogTest, ApplyReachesTheRunningSettingsAndTheStore) {
    Attach();
    dialog->FormShow();
    dialog->GetForm().SetChecked("CloseAutoC", true);  // as the click toggles it
    dialog->GetForm().Click("CloseAutoC");
    Type("CloseTimeE", "90");
    EXPECT_TRUE(dialog->ApplyEnabled());
    dialog->GetForm().Click("UebernehmenB");
    EXPECT_FALSE(dialog->ApplyEnabled());
    EXPECT_TRUE(settings.closeCallerForms);
    EXPECT_EQ(settings.closeTime, 90000);
    EXPECT_EQ(store.ReadString("Settings", "CloseTime", "?"), "90000");
    EXPECT_EQ(store.ReadString("Settings", "CloseCallerForms", "?"), "1");
    // Both files written whole (empty lists give empty files).
    bool opened = false;
    LoadCallers(settings.callerFile, &opened);
    EXPECT_TRUE(opened);
    EXPECT_EQ(netDdeStarts, 0);
}

TEST_F(ConfigDialogTest, AFileThatCannotBeWrittenKeepsTheChangesUnapplied) {
    settings.callerFile = CaseDir() + "\\fehlt\\CallerList.ddb";
    Attach();
    dialog->FormShow();
    Type("NatCallsE", "0");
    ASSERT_TRUE(dialog->ApplyEnabled());
    DialogAnswer answer{"Fehler", "OK"};
    wintest::AnswerNextDialog(answer);
    dialog->GetForm().Click("UebernehmenB");
    EXPECT_TRUE(answer.answered);
    EXPECT_NE(answer.seenText.find("CallerList.ddb"), std::string::npos);
    EXPECT_TRUE(dialog->ApplyEnabled());
}

TEST_F(ConfigDialogTest, ListsOfTheFilesAndTheStoreAreLoadedOnShow) {
    ASSERT_TRUE(ReplaceCallers(settings.callerFile,
                               {{"0711 1", "Hans", "", "X"}, {"089 2", "Anna", "\"a.wav\" ", ""}}));
    ASSERT_TRUE(ReplaceCalls(settings.callFile, {{"Hans", "Büro (4711)", 46364.5, false}}));
    MsnEntry msn;
    msn.number = "4711";
    WriteMsnList(store, {msn});
    Attach();
    dialog->FormShow();
    EXPECT_EQ(Rows("ListViewL"), 2);
    EXPECT_EQ(Rows("MSNLV"), 1);
    EXPECT_EQ(Rows("CallsLV"), 1);
    dialog->AddCallRow(
        MakeCallListEntry("unbekannt", "(0711) 9", "4711", 46365.0, "9.12.2026", "10:00", true));
    EXPECT_EQ(Rows("CallsLV"), 2);
    EXPECT_FALSE(dialog->ApplyEnabled());
}

// The sound-file dialog no control opens: its title and the file types the system shows.
TEST_F(ConfigDialogTest, SoundFileDialogOffersWaveFilesUnderItsTitle) {
    DialogAnswer answer{"Klangdatei auswählen", "Abbrechen"};
    answer.listId = 0x470;  // the file types
    wintest::AnswerNextDialog(answer);
    EXPECT_FALSE(dialog->SoundDlg().Run(dialog->Handle()));
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(answer.seenList,
              (std::vector<std::string>{"Audiodateien (*.wav)", "Alle Dateien (*.*)"}));
}

}  // namespace
}  // namespace telvor

namespace telvor {
namespace {

using wintest::DialogAnswer;

TEST_F(ConfigDialogTest, AttachRefusesAMissingLinkByName) {
    TConfigureForm::Links links;
    links.settings = &settings;
    links.store = &store;
    links.dialogBusy = &busy;
    try {
        dialog->Attach(links);
        ADD_FAILURE() << "attached without area codes";
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string(e.what()).find("areaCodes"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(dialog->Attached());
}

// The first showing after an upgrade gives the callers' numbers their blank, in the list.
TEST_F(ConfigDialogTest, FirstShowingAfterAnUpgradeConvertsTheNumbersOnce) {
    ASSERT_TRUE(ReplaceCallers(settings.callerFile, {{"0711123", "Hans", "", ""}}));
    const std::string codes = CaseDir() + "\\AreaCode.txt";
    HANDLE file = CreateFileA(codes.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "N711\tStuttgart\r\n", 16, &written, nullptr);
    CloseHandle(file);
    areaCodes.LoadFromFile(codes);
    store.WriteString("Settings", "Version", "1.05");
    Attach();
    dialog->FormShow();
    EXPECT_EQ(dialog->NameRows().at(0).number, "0711 123");
    EXPECT_EQ(store.ReadString("Settings", "Version", "?"), "2.00");
    dialog->FormShow();  // the file still holds the old number: no second conversion
    EXPECT_EQ(dialog->NameRows().at(0).number, "0711123");
}

// "Ok" whose apply fails: the dialog stays up with its changes, and both files are named.
TEST_F(ConfigDialogTest, OkThatCannotWriteKeepsTheDialogOpenAndNamesBothFiles) {
    settings.callerFile = CaseDir() + "\\fehlt\\CallerList.ddb";
    settings.callFile = CaseDir() + "\\fehlt\\Calls.ddb";
    Attach();
    dialog->ShowNonModal();
    Type("NatCallsE", "0");
    DialogAnswer answer{"Fehler", "OK"};
    wintest::AnswerNextDialog(answer);
    dialog->GetForm().Click("OkB");
    EXPECT_TRUE(answer.answered);
    EXPECT_NE(answer.seenText.find("CallerList.ddb"), std::string::npos) << answer.seenText;
    EXPECT_NE(answer.seenText.find("Calls.ddb"), std::string::npos) << answer.seenText;
    EXPECT_TRUE(dialog->Visible());
    EXPECT_TRUE(dialog->ApplyEnabled());
}

// While the entry dialog is up nothing else of the program takes input, and "Ok" writes the
// row the properties started with.
TEST_F(ConfigDialogTest, EntryDialogIsModalToEveryWindowAndWritesItsOwnRow) {
    ASSERT_TRUE(ReplaceCallers(settings.callerFile,
                               {{"0711 1", "Hans", "", ""}, {"089 2", "Anna", "", ""}}));
    Attach();
    dialog->ShowNonModal();
    const HWND names = Control("ListViewL");
    ListView_SetItemState(names, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    bool configEnabled = true;
    DialogAnswer answer{"Datenbankeintrag editieren", "Ok"};
    answer.beforeAnswer = [&](HWND entryDialog) {
        configEnabled = IsWindowEnabled(dialog->Handle()) != FALSE;
        for (const auto& c : test::ChildControls(entryDialog))
            if (test::IsClass(c.window, "Edit")) {
                SetWindowTextA(c.window, "0711 1");
                break;
            }
        dialog->HinzuBClick();  // "&Neu" behind the dialog starts nothing
    };
    wintest::AnswerNextDialog(answer);
    SendMessageA(names, WM_SYSKEYDOWN, VK_RETURN, 1 << 29);  // Alt+Enter: properties
    EXPECT_TRUE(answer.answered);
    EXPECT_FALSE(configEnabled);
    EXPECT_TRUE(IsWindowEnabled(dialog->Handle()));
    const std::vector<CallerRow> rows = dialog->NameRows();
    ASSERT_EQ(rows.size(), 2u) << "no row added behind the entry dialog";
    EXPECT_EQ(rows[1].name, "Anna");
    EXPECT_TRUE(dialog->ApplyEnabled());
}

int g_menusSeen = 0;

// Closes a popup menu of this thread once it is up, as Esc would, and counts it.
void CALLBACK CloseOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    if (test::FindTopLevelWindow({.className = "#32768", .visibleOnly = true})) {
        ++g_menusSeen;
        EndMenu();
    }
}

// Shift+F10 and the menu key open the list's popup menu, as the right click does.
TEST_F(ConfigDialogTest, KeyboardOpensThePopupMenuOfEachList) {
    Attach();
    dialog->ShowNonModal();
    g_menusSeen = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseOpenMenu);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    for (const char* list : {"CallsLV", "ListViewL", "MSNLV"})
        SendMessageA(Control(list), WM_SYSKEYDOWN, VK_F10, 0);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    SendMessageA(Control("ListViewL"), WM_CONTEXTMENU,
                 reinterpret_cast<WPARAM>(Control("ListViewL")), static_cast<LPARAM>(-1));
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_menusSeen, 4);
}

}  // namespace
}  // namespace telvor
