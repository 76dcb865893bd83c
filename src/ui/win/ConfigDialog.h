#pragma once
// TConfigureForm: the configuration dialog. It is created hidden at start-up and lives until
// the program ends; the main window shows it without making it modal. Each showing loads the
// caller database, the MSN list, the call list and the options afresh; "Ü&bernehmen" and "Ok"
// write them back, and the running monitor uses them from its next call on.
//
// ConfigDialog.cpp holds the frame (creation, showing, apply, OK, cancel, close),
// ConfigOptionPages.cpp the dmail and other-options pages and the service boxes,
// ConfigListPages.cpp the three lists.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "numbers/Numbers.h"
#include "store/AppSettings.h"
#include "store/CallListEntry.h"
#include "store/SettingsStore.h"
#include "ui/ConfigApply.h"
#include "ui/ConfigFlags.h"
#include "ui/ListFlow.h"
#include "ui/ListLayout.h"
#include "ui/StartAtLogon.h"
#include "ui/win/Form.h"
#include "ui/win/OpenFileDialog.h"

namespace telvor {

class TAboutBox;
class TEditDbEntry;
class ConfigLists;

class TConfigureForm : private ListFlowPort {
    struct Key {
        explicit Key() = default;
    };

  public:
    // What the dialog works on, owned by the monitor. Every link is required: `Attach`
    // throws std::logic_error naming the first one missing, so a command can never be wired
    // to nothing. `settings` is the running monitor's copy: what an apply puts there is what
    // the next call uses.
    struct Links {
        AppSettings* settings = nullptr;
        SettingsStore* store = nullptr;
        // The area codes loaded at start: the upgrade's number conversion splits by them.
        const AreaCodeList* areaCodes = nullptr;
        bool* dialogBusy = nullptr;  // set while a modal dialog of the program is open
        bool oldWindows = false;     // no notification area: the dialog stands in for the icon
        TAboutBox* about = nullptr;
        TEditDbEntry* entry = nullptr;
        // Runs when an apply switches network forwarding on.
        std::function<void()> startNetDde;
        // Runs when an apply changed the NCID server's settings: start, move or stop it.
        std::function<void()> applyNcidServer;
        // Runs when an apply changed where calls come from: the NCID client connects anew.
        std::function<void()> applyNcidClient;
        // The protocol file's two commands, shared with the icon menu.
        std::function<void(HWND owner)> showProtocol;
        std::function<void(HWND owner)> deleteProtocol;
    };

    explicit TConfigureForm(Key);
    ~TConfigureForm() override;
    TConfigureForm(const TConfigureForm&) = delete;
    TConfigureForm& operator=(const TConfigureForm&) = delete;

    // Created hidden (FormCreate steps 1-2); nullptr with `error` set when it cannot be built.
    static std::unique_ptr<TConfigureForm> Create(HWND owner, std::string& error);
    // The rest of FormCreate, once the monitor's settings exist: the lists' layout, the
    // stand-in for old shells, the first-run greeting, the NT rule for forwarding.
    void Attach(Links links);
    // Hands the linked objects back (the program's end); the dialog then only hides.
    void Detach();
    bool Attached() const { return links_.settings != nullptr; }

    HWND Handle() const { return form_->Handle(); }
    Form& GetForm() { return *form_; }
    bool Visible() const;
    // Visible without being modal, in front, the foreground window (loads it when hidden).
    void ShowNonModal();
    // "Ü&bernehmen" is enabled while changes are not yet applied.
    bool ApplyEnabled() const;
    void SaveListViewSettings();
    // A recorded call: a row at the end of the call list.
    void AddCallRow(const CallListEntry& entry);
    // The caller window's "&Datenbank...": take a number into the caller database.
    void AddNumberToDatabase(const std::string& number);
    // Enter and Esc end the in-place editing of the names and MSN lists. True when handled.
    bool ListEditKeyHook(MSG& msg);
    void SetInfoEnabled(bool enabled);
    // The network page's count of connected NCID clients.
    void SetNcidClientCount(std::size_t clients);
    // The sound-file dialog, given its title and filter at creation; no control opens it.
    const OpenFileDialog& SoundDlg() const { return soundDlg_; }

    // Handlers, named as the form publishes them.
    void FormShow();
    void FormClose();
    void OkBClick();
    void AbbrechenBClick();
    void UebernehmenBClick();
    void Changed();
    void CloseAutoCClick();
    void CloseTimeUClick();
    void PagesChange();
    void PAnzeigenBClick();
    void PLoeschenBClick();
    void InfoBClick();
    void ServiceBoxClick(int index);  // the fourteen handlers, by MsnFlags index
    void HinzuBClick();
    void LoeschenBClick();
    void EigenschaftenBClick();
    void ImportBClick();
    void ExportNamesClick();
    void Hinzu2BClick();
    void Loeschen2BClick();
    void Eigenschaften2BClick();
    void DelCallBClick();
    void DelAllCallsBClick();
    void ToDatabaseBClick();

    // The rows (but the calls) and options as they stand, for an apply, the import and tests.
    ConfigContent Content() const;
    std::vector<CallerRow> NameRows() const;
    void AddNameRows(const std::vector<CallerRow>& rows);
    std::size_t CallRowCount() const;

  private:
    void FormCreate();
    void WireHandlers();
    void WireListHandlers();
    void EnableCloseOptions(bool enabled);
    void LoadOptionPages(const ConfigOptions& options);
    ConfigOptions OptionPages() const;
    void LoadServiceBoxes();
    void LoadLists(SettingsStore& store);
    void ApplyListLayouts(SettingsStore& store);
    void StartNetDde();
    void WireNetworkPage();
    void LoadNetworkPage(SettingsStore& store);
    void ApplyNetworkPage(SettingsStore& store);
    ApplyResult Apply();
    void ReportUnwritten(const ApplyResult& result);
    // Visible again (restored when minimised), in front.
    void ShowAgain();
    void ShowAndFocus(int page, const char* list);
    void ListKeyDown(const char* list, WORD key);
    bool ListSystemKey(const char* list, WORD key, bool alt);
    void PopupAtCursor(const char* list);
    void RunPopup(const char* list, POINT screen);

    // ListFlowPort: the names and MSN lists and the entry dialog.
    void AppendNewRow(EntryList list) override;
    int SelectedRow(EntryList list, CallerRow& row) override;
    void SetRow(EntryList list, int index, const CallerRow& row) override;
    void DeleteRow(EntryList list, int index) override;
    bool EditEntry(EntryList mode, EntryFields& fields) override;
    void ShowNamesPage() override;
    int DmWhen() override;

    std::unique_ptr<Form> form_;
    std::unique_ptr<ConfigLists> lists_;
    Links links_;
    ListFlow flow_;
    bool loadingChecks_ = false;  // LoadingChecks
    int closeTimePosition_ = 60;  // the last valid position of CloseTimeU
    OpenFileDialog soundDlg_{OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST};
    // The box "&Beim Anmelden starten": this program's shortcut in the Startup folder.
    std::unique_ptr<LogonStart> logonStart_;
};

}  // namespace telvor
