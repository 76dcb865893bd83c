// The network page: the NCID server's settings, loaded at each showing and stored by an
// apply, which then has the monitor start, move or stop the server at once; and the number
// of clients connected, as the server reports it.
#include <windows.h>

#include <cstdlib>

#include "base/StringTable.h"
#include "ncid/ServerSettings.h"
#include "ui/win/ConfigDialog.h"

namespace telvor {

namespace {

constexpr unsigned kClientsId = 79;

}  // namespace

void TConfigureForm::WireNetworkPage() {
    Form& form = *form_;
    form.OnClick("NcidServerCB", [this] { Changed(); });
    for (const char* name : {"NcidPortE", "NcidListenE", "NcidAllowE"})
        form.OnChange(name, [this] { Changed(); });
    SetNcidClientCount(0);
}

void TConfigureForm::LoadNetworkPage(SettingsStore& store) {
    const NcidServerSettings ncid = ReadNcidServerSettings(store);
    form_->SetChecked("NcidServerCB", ncid.enabled);
    form_->SetText("NcidPortE", std::to_string(ncid.port));
    form_->SetText("NcidListenE", ncid.listen);
    form_->SetText("NcidAllowE", ncid.allow);
}

// Only a change restarts the server: every apply would otherwise cut the clients off.
void TConfigureForm::ApplyNetworkPage(SettingsStore& store) {
    const NcidServerSettings stored = ReadNcidServerSettings(store);
    NcidServerSettings wanted;
    wanted.enabled = form_->Checked("NcidServerCB");
    const std::string port = form_->Text("NcidPortE");
    wanted.port = port.empty() ? 0 : std::atoi(port.c_str());  // out of range reads as 3333
    wanted.listen = form_->Text("NcidListenE");
    wanted.allow = form_->Text("NcidAllowE");
    if (wanted.enabled == stored.enabled && wanted.port == stored.port &&
        wanted.listen == stored.listen && wanted.allow == stored.allow)
        return;
    WriteNcidServerSettings(store, wanted);
    links_.applyNcidServer();
    LoadNetworkPage(store);  // what the server reads: a text that fell back shows its default
}

void TConfigureForm::SetNcidClientCount(std::size_t clients) {
    form_->SetText("NcidClientsL", FormatStr(kClientsId, {std::to_string(clients)}));
}

}  // namespace telvor
