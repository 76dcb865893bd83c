#pragma once
// The apply step of the configuration dialog ("Ü&bernehmen" and "Ok"): everything the dialog
// holds goes to the caller database file, the MSN list, the running monitor's settings, the
// settings store and the call list file, in this order, then the start at logon.
#include <string>
#include <vector>

#include "store/AppSettings.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "store/SettingsStore.h"
#include "ui/ConfigOptions.h"
#include "ui/ConfigRows.h"

namespace telvor {

// What the dialog holds besides its call list, which is written straight from its rows.
struct ConfigContent {
    std::vector<CallerRow> callers;  // rows still captioned "Neuer Eintrag" are not stored
    std::vector<MsnRow> msns;        // in their present order
    ConfigOptions options;
};

// What an apply does outside the settings store. The files are replaced whole; a replace that
// fails must leave the previous file as it was (the store's replace is crash-safe).
class ApplyEffects {
  public:
    virtual ~ApplyEffects() = default;
    virtual bool ReplaceCallerFile(const std::string& path, const std::vector<CallerRow>& rows);
    virtual bool ReplaceCallFile(const std::string& path, const CallSource& calls);
    // Network forwarding switched on: the platform's network DDE service is started.
    virtual void StartNetDde() {}
    // The start at logon as the dialog's box says (StartAtLogon.h); false when the shell
    // refused. Without a shell (native tests) there is none to change.
    virtual bool SetStartAtLogon(bool /*wanted*/) { return true; }
};

struct ApplyResult {
    bool callerFileWritten = true;
    bool callFileWritten = true;
    bool startAtLogonSet = true;
    bool Done() const { return callerFileWritten && callFileWritten && startAtLogonSet; }
};

// Writes everything. A file that cannot be written does not stop the other steps (the user's
// other changes are stored), but the result says so: the apply is then not done, and the
// dialog keeps its changes marked as unapplied. Store errors propagate to the caller.
ApplyResult ApplyConfiguration(const ConfigContent& content, const CallSource& calls,
                               SettingsStore& store, AppSettings& settings, ApplyEffects& effects);

}  // namespace telvor
