#pragma once
// TConfigureForm: the configuration dialog. It is created hidden at start-up and lives until
// the program ends; the main window shows it without making it modal.
//
// This is its frame — caption, pages and the three buttons — with the operations the monitor
// calls; the list and option pages are filled in by their own work.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "store/CallListEntry.h"
#include "ui/ConfigFlags.h"
#include "ui/win/Form.h"

namespace telvor {

class TConfigureForm {
  public:
    // Created hidden; nullptr with `error` set when the form cannot be built.
    static std::unique_ptr<TConfigureForm> Create(HWND owner, std::string& error);

    HWND Handle() const { return form_->Handle(); }
    // Visible without being modal, in front, the foreground window.
    void ShowNonModal();
    bool Visible() const;
    // "Ü&bernehmen" is enabled while changes are not yet applied.
    bool ApplyEnabled() const;
    void SaveListViewSettings();
    // A recorded call: a row of the call list.
    void AddCallRow(const CallListEntry& entry);
    // The caller window's "&Datenbank...": take a number into the caller database.
    void AddNumberToDatabase(const std::string& number);
    // Enter and Esc end the in-place editing of the names and MSN lists. True when handled.
    bool ListEditKeyHook(MSG& msg);
    void SetInfoEnabled(bool enabled);

    const std::vector<CallListEntry>& CallRows() const { return callRows_; }
    Form& GetForm() { return *form_; }

  private:
    std::unique_ptr<Form> form_;
    std::vector<CallListEntry> callRows_;
};

}  // namespace telvor
