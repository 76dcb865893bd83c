// The configuration dialog with 100 000 calls and 10 000 callers: showing it (loading both
// files and the MSN list, sorting by the stored columns), a header click on the date column
// and on the name column, an import of an address book of 10 000 contacts into the names list
// (rows shown), and an apply that writes both files. Runs under Wine like the
// program; prints a table of medians.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <commctrl.h>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/StringTable.h"
#include "contacts/Contacts.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "store/MemorySettingsStore.h"
#include "store/RecordIo.h"
#include "ui/win/AboutBox.h"
#include "ui/win/ConfigDialog.h"
#include "ui/win/EntryDialog.h"

namespace {

using namespace telvor;

constexpr int kCalls = 100000;
constexpr int kCallers = 10000;
constexpr int kRounds = 7;
constexpr int kContacts = 10000;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeMs(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void ClickHeader(TConfigureForm& dialog, const char* list, int column) {
    HWND view = dialog.GetForm().Control(list);
    NMLISTVIEW click{};
    click.hdr.hwndFrom = view;
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(view));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(GetParent(view), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    UpdateWindow(view);
}

}  // namespace

int main() {
    LoadStartupTexts();
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    AppSettings settings;
    settings.callerFile = std::string(temp) + "bench-CallerList.ddb";
    settings.callFile = std::string(temp) + "bench-Calls.ddb";

    std::vector<CallerRow> callers;
    for (int i = 0; i < kCallers; ++i)
        callers.push_back({"0711 " + std::to_string(100000 + (i * 7919) % 900000),
                           "Anrufer " + std::to_string((i * 104729) % kCallers), "", ""});
    std::vector<CallRecord> calls;
    for (int i = 0; i < kCalls; ++i)
        calls.push_back({"Anrufer " + std::to_string((i * 31) % kCallers), "Büro (4711)",
                         46000.0 + i * 0.01, i % 3 == 0});
    ReplaceCallers(settings.callerFile, callers);
    ReplaceCalls(settings.callFile, calls);

    MemorySettingsStore store;
    MsnEntry msn;
    msn.number = "4711";
    WriteMsnList(store, {msn});
    bool busy = false;
    std::string error;
    auto dialog = TConfigureForm::Create(nullptr, error);
    if (!dialog) {
        std::printf("dialog not created: %s\n", error.c_str());
        return 1;
    }
    auto about = TAboutBox::Create(nullptr, error);
    auto entry = TEditDbEntry::Create(nullptr, error);
    AreaCodeList areaCodes;
    TConfigureForm::Links links;
    links.settings = &settings;
    links.store = &store;
    links.areaCodes = &areaCodes;
    links.dialogBusy = &busy;
    links.about = about.get();
    links.entry = entry.get();
    links.startNetDde = [] {};
    links.applyNcidServer = [] {};
    links.applyNcidClient = [] {};
    links.showProtocol = [](HWND) {};
    links.deleteProtocol = [](HWND) {};
    dialog->Attach(links);

    // An address book of 10 000 contacts with two numbers each, as a phone exports it.
    const std::string book = std::string(temp) + "bench-Kontakte.vcf";
    {
        std::string vcf;
        for (int i = 0; i < kContacts; ++i) {
            const std::string n = std::to_string(1000000 + i);
            vcf += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kontakt " + n + "\r\nTEL;TYPE=HOME:+49 711 " +
                   n + "\r\nTEL;TYPE=CELL:0171 " + n + "\r\nEND:VCARD\r\n";
        }
        WriteFile(book, vcf);
    }

    std::vector<double> show, dateClick, nameClick, apply, import;
    for (int round = 0; round < kRounds; ++round) {
        show.push_back(TimeMs([&] {
            dialog->ShowNonModal();
            UpdateWindow(dialog->Handle());
        }));
        Pump();
        dialog->GetForm().SelectPage("Pages", 0);
        dateClick.push_back(TimeMs([&] { ClickHeader(*dialog, "CallsLV", 2); }));
        nameClick.push_back(TimeMs([&] { ClickHeader(*dialog, "CallsLV", 0); }));
        dialog->Changed();
        apply.push_back(TimeMs([&] { dialog->UebernehmenBClick(); }));
        // Not applied: the next showing loads the callers' file alone again.
        dialog->GetForm().SelectPage("Pages", 1);
        import.push_back(TimeMs([&] {
            const auto bytes = recordio::ReadWholeFile(book);
        ContactImport result = ImportContacts(*bytes, ContactFormat::VCard, NumberPrefixes{},
                                              areaCodes, dialog->NameRows());
        dialog->AddNameRows(result.rows);
        UpdateWindow(dialog->Handle());
    }));
    dialog->FormClose();
    Pump();
}
std::printf("configuration dialog, %d calls, %d callers, median of %d rounds (Wine)\n", kCalls,
            kCallers, kRounds);
std::printf("| step                         | median ms | target ms |\n");
std::printf("|------------------------------|-----------|-----------|\n");
std::printf("| dialog shown (lists loaded)  | %9.1f | %9d |\n", Median(show), 300);
std::printf("| header click, date column    | %9.1f | %9d |\n", Median(dateClick), 200);
std::printf("| header click, name column    | %9.1f | %9d |\n", Median(nameClick), 200);
std::printf("| apply, both lists written    | %9.1f | %9d |\n", Median(apply), 300);
std::printf("| vCard import, %d numbers | %9.1f | %9d |\n", 2 * kContacts, Median(import), 1000);
dialog.reset();
DeleteFileA(settings.callerFile.c_str());
DeleteFileA(settings.callFile.c_str());
DeleteFileA(book.c_str());
return 0;
}
