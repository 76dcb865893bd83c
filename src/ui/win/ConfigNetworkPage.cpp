// The network page: the NCID server's settings and where calls come from, loaded at each
// showing and stored by an apply, which then has the monitor start, move or stop the server
// and connect its client again at once; and the number of clients connected, as the server
// reports it.
#include <windows.h>

#include <cstdlib>

#include "base/StringTable.h"
#include "ncid/ClientSettings.h"
#include "ncid/ServerSettings.h"
#include "ui/win/ConfigDialog.h"

namespace telvor {

namespace {

constexpr unsigned kClientsId = 79;

struct SourceButton {
    const char* name;
    CallsFrom source;
};
constexpr SourceButton kSourceButtons[] = {{"CapiSourceRB", CallsFrom::Capi},
                                           {"NcidSourceRB", CallsFrom::Ncid},
                                           {"BothSourceRB", CallsFrom::Both}};

int PortOf(const std::string& text) {
    return text.empty() ? 0 : std::atoi(text.c_str());  // out of range reads as 3333
}

}  // namespace

void TConfigureForm::WireNetworkPage() {
    Form& form = *form_;
    for (const char* name : {"NcidServerCB", "CapiSourceRB", "NcidSourceRB", "BothSourceRB"})
        form.OnClick(name, [this] { Changed(); });
    for (const char* name :
         {"NcidPortE", "NcidListenE", "NcidAllowE", "NcidHostE", "NcidServerPortE"})
        form.OnChange(name, [this] { Changed(); });
    SetNcidClientCount(0);
}

void TConfigureForm::LoadNetworkPage(SettingsStore& store) {
    const NcidServerSettings ncid = ReadNcidServerSettings(store);
    form_->SetChecked("NcidServerCB", ncid.enabled);
    form_->SetText("NcidPortE", std::to_string(ncid.port));
    form_->SetText("NcidListenE", ncid.listen);
    form_->SetText("NcidAllowE", ncid.allow);
    const NcidClientSettings client = ReadNcidClientSettings(store);
    for (const SourceButton& button : kSourceButtons)
        form_->SetChecked(button.name, client.source == button.source);
    form_->SetText("NcidHostE", client.host);
    form_->SetText("NcidServerPortE", std::to_string(client.port));
}

// Only a change restarts the server or reconnects the client: every apply would otherwise cut
// the connections.
void TConfigureForm::ApplyNetworkPage(SettingsStore& store) {
    const NcidClientSettings storedClient = ReadNcidClientSettings(store);
    NcidClientSettings client;
    for (const SourceButton& button : kSourceButtons)
        if (form_->Checked(button.name)) client.source = button.source;
    client.host = form_->Text("NcidHostE");
    client.port = PortOf(form_->Text("NcidServerPortE"));
    if (client.source != storedClient.source || client.host != storedClient.host ||
        client.port != storedClient.port) {
        WriteNcidClientSettings(store, client);
        links_.applyNcidClient();
    }

    const NcidServerSettings stored = ReadNcidServerSettings(store);
    NcidServerSettings wanted;
    wanted.enabled = form_->Checked("NcidServerCB");
    wanted.port = PortOf(form_->Text("NcidPortE"));
    wanted.listen = form_->Text("NcidListenE");
    wanted.allow = form_->Text("NcidAllowE");
    if (wanted.enabled == stored.enabled && wanted.port == stored.port &&
        wanted.listen == stored.listen && wanted.allow == stored.allow) {
        LoadNetworkPage(store);  // a client text that fell back shows its default
        return;
    }
    WriteNcidServerSettings(store, wanted);
    links_.applyNcidServer();
    LoadNetworkPage(store);  // what was read back: a text that fell back shows its default
}

void TConfigureForm::SetNcidClientCount(std::size_t clients) {
    form_->SetText("NcidClientsL", FormatStr(kClientsId, {std::to_string(clients)}));
}

}  // namespace telvor
