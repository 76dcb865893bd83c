// The configuration dialog created hidden and driven through its handlers, as the monitor
// holds it: loading the option pages, what enables "Ü&bernehmen", the apply reaching the
// settings and the store, and an apply whose file cannot be written. Every wait is bounded.
#include "ui/win/ConfigDialog.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "base/StringTable.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "store/MemorySettingsStore.h"
#include "support/WinTestSupport.h"
#include "support/WindowProbe.h"

namespace telvor {
namespace {

using wintest::CaseDir;
using wintest::DialogAnswer;
using test::WindowText;

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
    }
    void Attach() {
        TConfigureForm::Links links;
        links.settings = &settings;
        links.store = &store;
        links.dialogBusy = &busy;
        links.startNetDde = [this] { ++netDdeStarts; };
        dialog->Attach(links);
    }
    void TearDown() override {
        wintest::StopAnswering();
        dialog.reset();
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
    std::unique_ptr<TConfigureForm> dialog;
};

TEST_F(ConfigDialogTest, PagesCaptionsAndButtonsAsTheUserReadsThem) {
    EXPECT_EQ(WindowText(dialog->Handle()), "Telvor einrichten");
    EXPECT_EQ(WindowText(Control("UebernehmenB")), "Ü&bernehmen");
    EXPECT_EQ(WindowText(Control("CloseConnectRB")),
              "F&enster schließen, nachdem der Anruf angenommen wurde");
    EXPECT_EQ(WindowText(Control("Audio1CB")), WindowText(Control("Audio2CB")));
    EXPECT_EQ(TabCtrl_GetItemCount(Control("Pages")), 5);
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
