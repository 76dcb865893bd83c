// Every command of the configuration dialog's list pages and option pages, started where the
// user starts it — a button, or a list's popup menu opened with the menu key and chosen by its
// mnemonic — in a running Telvor.exe, with what the user must then see: a dialog opens, rows
// change, a file is written. The pieces have tests of their own; this proves the wiring.
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "base/StringTable.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "support/CallScenario.h"
#include "support/CallerWindowView.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/MonitorCase.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

constexpr LPARAM kLeftDoubleClick = 0x203;  // WM_LBUTTONDBLCLK, as the shell reports it
constexpr char kEntryTitle[] = "Datenbankeintrag editieren";
constexpr char kImportTitle[] = "Datenbank aus Textdatei importieren";

// The group box of the configuration dialog with this caption ("&Liste", ...).
HWND Frame(HWND configure, std::string_view caption) {
    for (const ChildControl& c : ChildControls(configure))
        if (c.text == caption && IsClass(c.window, "Button")) return c.window;
    return nullptr;
}

bool PressIn(HWND configure, std::string_view frame, std::string_view button) {
    const HWND box = Frame(configure, frame);
    return box && PressButton(box, button);
}

// A visible dialog of the monitor with a text that holds `part` (a message dialog's question).
HWND WaitForDialogWithText(DWORD pid, const std::string& part) {
    HWND found = nullptr;
    PollUntil(10s, [&] {
        for (HWND d : TopLevelWindows({.className = "#32770", .visibleOnly = true, .process = pid}))
            for (const ChildControl& c : ChildControls(d))
                if (c.text.find(part) != std::string::npos) found = d;
        return found != nullptr;
    });
    return found;
}

// The menu key on a list, then the item with this mnemonic, as a keyboard user chooses it.
bool ChooseFromPopup(DWORD pid, HWND list, char mnemonic) {
    PostMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    const HWND menu =
        WaitForWindow({.className = "#32768", .visibleOnly = true, .process = pid}, 10s);
    return menu && PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(mnemonic), 0) &&
           PollUntil(10s, [&] { return !IsWindowVisible(menu); });
}

// The import's file dialog: the file's path typed into its name field, then "Öffnen".
bool OpenInFileDialog(HWND dialog, const std::string& path) {
    for (const ChildControl& c : ChildControls(dialog)) {
        if (!IsClass(c.window, "Edit") || !c.visible) continue;
        DWORD_PTR result = 0;
        SendMessageTimeoutA(c.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                            SMTO_NORMAL, 10000, &result);
        return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) != FALSE;
    }
    return false;
}

// The numbers, sorted: the apply writes the rows in the list's order, which the stored sort
// state decides.
std::vector<std::string> Numbers(const std::vector<CallerRecord>& callers) {
    std::vector<std::string> numbers;
    for (const CallerRecord& c : callers) numbers.push_back(c.number);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

TEST(ConfigDialogCommands, EveryButtonAndPopupItemReachesItsCode) {
    LoadStartupTexts();
    MonitorCase monitor;
    SeedStandardLine(monitor);  // two MSNs, two callers
    ASSERT_TRUE(
        ReplaceCalls(monitor.File("Calls.ddb"), {{"0221 5", "Büro (4711)", 46364.5, true}}));
    WriteFileBytes(monitor.File("Telvor.log"), "eine Zeile\r\n");
    const std::string importFile = monitor.File("Import.txt");
    WriteFileBytes(importFile, "0711 7,Importiert\r\n");
    ASSERT_TRUE(monitor.StartListening());
    const DWORD pid = monitor.Process().Pid();
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);
    ASSERT_TRUE(monitor.Send(kTrayIconMessage, 1, kLeftDoubleClick));
    ASSERT_EQ(WaitForVisibleWindow("#32770", "Telvor einrichten", 10s), configure);
    const HWND names = FindChildByClass(Frame(configure, "&Liste"), "SysListView32")->window;
    const HWND msns =
        FindChildByClass(Frame(configure, "&Mehrfachrufnummern"), "SysListView32")->window;
    const HWND calls =
        FindChildByClass(Frame(configure, "&Protokollierte Anrufe"), "SysListView32")->window;

    // Commands that open a dialog, with the button that closes it again unchanged.
    struct Opens {
        const char* command;
        std::function<bool()> start;
        std::string shows;  // the window's title, or a text it holds
        bool byTitle;
        const char* answer;  // the button that closes it
    };
    const std::vector<Opens> opening = {
        {"names: E&igenschaften", [&] { return PressIn(configure, "&Liste", "E&igenschaften"); },
         kEntryTitle, true, "Abbrechen"},
        {"names popup: E&igenschaften", [&] { return ChooseFromPopup(pid, names, 'i'); },
         kEntryTitle, true, "Abbrechen"},
        {"names popup: &Neuen Eintrag", [&] { return ChooseFromPopup(pid, names, 'n'); },
         kEntryTitle, true, "Abbrechen"},
        {"names: &Neu", [&] { return PressIn(configure, "&Liste", "&Neu"); }, kEntryTitle, true,
         "Abbrechen"},
        {"names: &Löschen",
         [&] {
             PressKeyIn(names, VK_HOME);  // the cancelled new row took the selection with it
             return PressIn(configure, "&Liste", "&Löschen");
         },
         "Wollen Sie den Eintrag '", false, "&Nein"},
        {"names popup: &Löschen", [&] { return ChooseFromPopup(pid, names, 'l'); },
         "Wollen Sie den Eintrag '", false, "&Nein"},
        {"MSNs: &Neu", [&] { return PressIn(configure, "&Mehrfachrufnummern", "&Neu"); },
         kEntryTitle, true, "Abbrechen"},
        {"MSNs popup: &Neue MSN", [&] { return ChooseFromPopup(pid, msns, 'n'); }, kEntryTitle,
         true, "Abbrechen"},
        {"calls: &Alle Löschen",
         [&] { return PressIn(configure, "&Protokollierte Anrufe", "&Alle Löschen"); },
         LoadStr(20015), false, "&Nein"},
        {"protocol: &Löschen", [&] { return PressIn(configure, "Protokolldatei", "&Löschen"); },
         LoadStr(20014), false, "&Nein"},
    };
    for (const Opens& c : opening) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(c.start());
        const HWND shown = c.byTitle ? WaitForVisibleWindow("#32770", c.shows, 10s)
                                     : WaitForDialogWithText(pid, c.shows);
        ASSERT_NE(shown, nullptr) << "nothing opened";
        EXPECT_FALSE(IsWindowEnabled(configure)) << "the dialog behind takes input";
        ASSERT_TRUE(PressButton(shown, c.answer));
        ASSERT_TRUE(WaitForWindowHidden(shown, 10s));
        ASSERT_TRUE(PollUntil(5s, [&] { return IsWindowEnabled(configure) != FALSE; }));
    }

    // The entry dialog's "&Durchsuchen...": the program file dialog over it.
    PressKeyIn(names, VK_HOME);
    ASSERT_TRUE(PressIn(configure, "&Liste", "E&igenschaften"));
    HWND entry = WaitForVisibleWindow("#32770", kEntryTitle, 10s);
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(PressButton(entry, "&Durchsuchen..."));
    const HWND program = WaitForVisibleWindow("#32770", "Programm auswählen", 10s);
    ASSERT_NE(program, nullptr) << "no file dialog for the program";
    ASSERT_TRUE(PostMessageA(program, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0));
    ASSERT_TRUE(WaitForWindowGone(program, 10s));
    ASSERT_TRUE(PressButton(entry, "Abbrechen"));
    ASSERT_TRUE(WaitForWindowHidden(entry, 10s));

    // "&Anzeigen" of the protocol file: Notepad opens it.
    ASSERT_TRUE(PressIn(configure, "Protokolldatei", "&Anzeigen"));
    HWND notepad = nullptr;
    ASSERT_TRUE(PollUntil(20s, [&] {
        notepad = FindTopLevelWindow({.className = "Notepad", .visibleOnly = true});
        return notepad != nullptr;
    })) << "Notepad did not open the protocol file";
    EXPECT_NE(WindowText(notepad).find("Telvor"), std::string::npos) << WindowText(notepad);
    PostMessageA(notepad, WM_CLOSE, 0, 0);

    // "Inf&o...": the about box, closed by a click.
    ASSERT_TRUE(PressIn(configure, "Programminformationen anzeigen", "Inf&o..."));
    HWND about = nullptr;
    ASSERT_TRUE(PollUntil(10s, [&] {
        for (HWND w : VisibleWindowsOf(pid))
            if (w != configure) about = w;
        return about != nullptr;
    }));
    ClickInside(about);
    ASSERT_TRUE(WaitForWindowHidden(about, 10s));

    // The import, from its button and from the popup item: the file's row twice, at the end.
    for (const bool fromPopup : {false, true}) {
        SCOPED_TRACE(fromPopup ? "names popup: Einträge aus &Datei importieren" : "Im&portieren");
        ASSERT_TRUE(fromPopup ? ChooseFromPopup(pid, names, 'd')
                              : PressIn(configure, "&Liste", "Im&portieren"));
        const HWND files = WaitForVisibleWindow("#32770", kImportTitle, 10s);
        ASSERT_NE(files, nullptr) << "no file dialog";
        ASSERT_TRUE(OpenInFileDialog(files, importFile));
        ASSERT_TRUE(WaitForWindowGone(files, 10s));
    }
    // "&Nummer übernehmen": the unknown caller of the call list into the entry dialog.
    PressKeyIn(calls, VK_HOME);
    ASSERT_TRUE(PressIn(configure, "&Protokollierte Anrufe", "&Nummer übernehmen"));
    entry = WaitForVisibleWindow("#32770", kEntryTitle, 10s);
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(PressButton(entry, "Ok"));
    ASSERT_TRUE(WaitForWindowHidden(entry, 10s));
    // The call list's popup: "Anruf &löschen" of the call selected by the keyboard.
    PressKeyIn(calls, VK_HOME);
    ASSERT_TRUE(ChooseFromPopup(pid, calls, 'l'));
    // The MSN list: the first MSN's properties, then "&Löschen" of it; its popup's
    // "E&igenschaften" and "&Löschen" run the same code as the buttons.
    PressKeyIn(msns, VK_HOME);
    ASSERT_TRUE(PressIn(configure, "&Mehrfachrufnummern", "E&igenschaften"));
    entry = WaitForVisibleWindow("#32770", kEntryTitle, 10s);
    ASSERT_NE(entry, nullptr) << "MSN properties";
    EXPECT_TRUE(FindChildByText(entry, "&MSN"));
    ASSERT_TRUE(PressButton(entry, "Abbrechen"));
    ASSERT_TRUE(WaitForWindowHidden(entry, 10s));
    ASSERT_TRUE(PressIn(configure, "&Mehrfachrufnummern", "&Löschen"));

    ASSERT_TRUE(PressButton(configure, "Ok"));
    ASSERT_TRUE(WaitForWindowHidden(configure, 10s)) << "the apply failed";
    // The dialog hides before it applies, and the call list is written last: wait for it.
    std::vector<CallerRecord> callers;
    PollUntil(30s, [&] {
        callers = LoadCallers(monitor.File("CallerList.ddb"));
        return callers.size() == 5 && LoadCalls(monitor.File("Calls.ddb")).empty();
    });
    ASSERT_EQ(callers.size(), 5u);
    EXPECT_EQ(Numbers(callers),
              (std::vector<std::string>{"0221 5", "030", "0711 123456", "0711 7", "0711 7"}));
    EXPECT_TRUE(LoadCalls(monitor.File("Calls.ddb")).empty()) << "the call was deleted";
    EXPECT_TRUE(SettingsKeyExists("MSNs\\00000000"));
    EXPECT_FALSE(SettingsKeyExists("MSNs\\00000001")) << "one MSN was deleted";
    EXPECT_EQ(ReadFileBytes(monitor.File("Telvor.log")), "eine Zeile\r\n") << "kept on \"Nein\"";
}

// An address book from a phone: imported through "Im&portieren", applied, and the next call
// from one of its numbers shows its name; "Einträge &exportieren..." writes the list back out.
TEST(AddressBook, AVCardImportedAndAppliedNamesTheCallerAndTheListExportsAgain) {
    LoadStartupTexts();
    MonitorCase monitor;
    SeedStandardLine(monitor);
    const std::string vcf = monitor.File("Kontakte.vcf");
    WriteFileBytes(vcf,
                   "BEGIN:VCARD\r\nVERSION:2.1\r\n"
                   "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen;;;\r\n"
                   "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen M=C3=BCller\r\n"
                   "TEL;CELL:0171 5550001\r\nEND:VCARD\r\n"
                   "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Erika Beispiel\r\n"
                   "TEL;TYPE=HOME:+49 711 5550002\r\nEND:VCARD\r\n"
                   "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Firma Muster\r\n"
                   "TEL;TYPE=WORK:(089) 555-0003\r\nTEL;TYPE=CELL:0172 5550004\r\n"
                   "END:VCARD\r\n");
    ASSERT_TRUE(monitor.StartListening());
    const DWORD pid = monitor.Process().Pid();
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);
    ASSERT_TRUE(monitor.Send(kTrayIconMessage, 1, kLeftDoubleClick));
    ASSERT_EQ(WaitForVisibleWindow("#32770", "Telvor einrichten", 10s), configure);

    ASSERT_TRUE(PressIn(configure, "&Liste", "Im&portieren"));
    const HWND files = WaitForVisibleWindow("#32770", kImportTitle, 10s);
    ASSERT_NE(files, nullptr);
    ASSERT_TRUE(OpenInFileDialog(files, vcf));
    const HWND counts = WaitForDialogWithText(pid, "Import abgeschlossen");
    ASSERT_NE(counts, nullptr) << "no report of the import";
    EXPECT_TRUE(FindChildByText(counts, FormatStr(20034, {"4", "0", "0"})))
        << "four numbers added, none known, none unusable";
    ASSERT_TRUE(PressButton(counts, "OK"));
    ASSERT_TRUE(PressButton(configure, "Ü&bernehmen"));
    std::vector<CallerRecord> callers;
    ASSERT_TRUE(PollUntil(10s, [&] {
        callers = LoadCallers(monitor.File("CallerList.ddb"));
        return callers.size() == 6;
    })) << callers.size() << " callers";
    std::vector<std::string> stored;
    for (const CallerRecord& c : callers) stored.push_back(c.name);
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, (std::vector<std::string>{"Anruf aus Berlin", "Erika Beispiel",
                                               "Firma Muster (geschäftlich)",
                                               "Firma Muster (mobil)", "Hans Muster",
                                               "Jürgen Müller"}));

    // The names list's last popup item: the save dialog, the file in vCard.
    const HWND names = FindChildByClass(Frame(configure, "&Liste"), "SysListView32")->window;
    ASSERT_TRUE(ChooseFromPopup(pid, names, 'e'));
    const HWND save = WaitForVisibleWindow("#32770", "Datenbank exportieren", 10s);
    ASSERT_NE(save, nullptr) << "no save dialog";
    const std::string exported = monitor.File("Export.vcf");
    ASSERT_TRUE(OpenInFileDialog(save, exported));
    ASSERT_TRUE(WaitForWindowGone(save, 10s));
    std::optional<std::string> bytes;
    ASSERT_TRUE(PollUntil(10s, [&] { return (bytes = ReadFileBytes(exported)).has_value(); }));
    EXPECT_NE(bytes->find("FN:J\xC3\xBCrgen M\xC3\xBCller"), std::string::npos) << *bytes;
    EXPECT_EQ(bytes->find("BEGIN:VCARD"), 0u);

    ASSERT_TRUE(PressButton(configure, "Ok"));
    ASSERT_TRUE(WaitForWindowHidden(configure, 10s));
    ASSERT_TRUE(monitor.Ring(0x401, 1, "4711", "7115550002"));
    ASSERT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x401));
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u);
    const auto view = ReadCallerWindow(windows[0]);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->name, "Erika Beispiel");
}

}  // namespace
}  // namespace telvor::e2e
