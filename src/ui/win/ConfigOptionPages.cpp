// The dmail pro page, the page of other options and the MSN page's fourteen service boxes.
#include <windows.h>

#include <commctrl.h>

#include "base/ScopedFlag.h"
#include "ui/ConfigOptions.h"
#include "ui/win/AboutBox.h"
#include "ui/win/ConfigDialog.h"
#include "ui/win/ConfigDialogLayout.h"
#include "ui/win/ConfigLists.h"

namespace telvor {

void TConfigureForm::WireHandlers() {
    Form& form = *form_;
    form.OnClick("OkB", [this] { OkBClick(); });
    form.OnClick("AbbrechenB", [this] { AbbrechenBClick(); });
    form.OnClick("UebernehmenB", [this] { UebernehmenBClick(); });
    form.OnClose([this] { FormClose(); });
    form.OnNotify("Pages", static_cast<UINT>(TCN_SELCHANGING), [this](NMHDR&) -> LRESULT {
        if (form_->PageIndex("Pages") == kCallsPage) PagesChange();
        return FALSE;
    });
    form.OnNotify("Pages", static_cast<UINT>(TCN_SELCHANGE), [this](NMHDR&) -> LRESULT {
        if (form_->PageIndex("Pages") == kCallsPage) PagesChange();
        return 0;
    });
    for (const char* name :
         {"CloseTimeRB", "CloseConnectRB", "InitAlwaysCB", "AlertCB", "DoNDDECB", "StartAtLogonCB"})
        form.OnClick(name, [this] { Changed(); });
    for (const char* name : {"NatCallsE", "InternatCallsE"})
        form.OnChange(name, [this] { Changed(); });
    form.OnChange("CloseTimeE", [this] {
        if (auto position = ParseCloseTimeText(form_->Text("CloseTimeE")))
            closeTimePosition_ = *position;
        Changed();
    });
    form.OnNotify("CloseTimeU", static_cast<UINT>(UDN_DELTAPOS), [this](NMHDR&) -> LRESULT {
        CloseTimeUClick();
        return FALSE;
    });
    form.OnClick("CloseAutoC", [this] { CloseAutoCClick(); });
    form.OnClick("PAnzeigenB", [this] { PAnzeigenBClick(); });
    form.OnClick("PLoeschenB", [this] { PLoeschenBClick(); });
    form.OnClick("InfoB", [this] { InfoBClick(); });
    for (int i = 0; i < 14; ++i) form.OnClick(kServiceBoxes[i], [this, i] { ServiceBoxClick(i); });
}

void TConfigureForm::CloseAutoCClick() {
    Changed();
    EnableCloseOptions(form_->Checked("CloseAutoC"));
}

void TConfigureForm::CloseTimeUClick() {
    Changed();
}

void TConfigureForm::EnableCloseOptions(bool enabled) {
    for (const char* name :
         {"CloseTimeRB", "CloseConnectRB", "SecondsL", "CloseTimeE", "CloseTimeU"})
        form_->SetEnabled(name, enabled);
}

// Steps 4, 6 and 8 of a showing, in this order: what has a change handler comes before
// "Ü&bernehmen" is disabled again; the dmail pro page has none.
void TConfigureForm::LoadOptionPages(const ConfigOptions& o) {
    Form& form = *form_;
    form.SetText("NatCallsE", o.nationalCalls);
    form.SetText("InternatCallsE", o.internationalCalls);
    form.SetChecked("InitAlwaysCB", o.initAlways);
    form.SetChecked("AlertCB", o.alert);
    form.SetChecked("CloseAutoC", o.closeAuto);
    EnableCloseOptions(o.closeAuto);
    closeTimePosition_ = o.closeTimePosition;
    SendMessageA(form.Control("CloseTimeU"), UDM_SETPOS32, 0, o.closeTimePosition);
    form.SetText("CloseTimeE", std::to_string(o.closeTimePosition));
    form.SetChecked("CloseTimeRB", o.closeAfterTime);
    form.SetChecked("CloseConnectRB", o.closeAfterConnect);
    form.SetChecked("DoNDDECB", o.enableNetDde);
    form.SetChecked("StartAtLogonCB", o.startAtLogon);
    form.SetItemIndex("DMWhenRG", o.dmWhen);
    form.SetText("DMailPathE", o.dmPath);
    form.SetText("DMailReceiverE", o.dmReceiver);
    form.SetText("DMailParamE", o.dmMessage);
}

ConfigOptions TConfigureForm::OptionPages() const {
    const Form& form = *form_;
    ConfigOptions o;
    o.closeAuto = form.Checked("CloseAutoC");
    o.closeTimePosition = closeTimePosition_;
    o.closeAfterTime = form.Checked("CloseTimeRB");
    o.closeAfterConnect = form.Checked("CloseConnectRB");
    o.enableNetDde = form.Checked("DoNDDECB");
    o.startAtLogon = form.Checked("StartAtLogonCB");
    o.initAlways = form.Checked("InitAlwaysCB");
    o.alert = form.Checked("AlertCB");
    o.nationalCalls = form.Text("NatCallsE");
    o.internationalCalls = form.Text("InternatCallsE");
    const int item = form.ItemIndex("DMWhenRG");
    o.dmWhen = item < 0 ? 0 : item;
    o.dmPath = form.Text("DMailPathE");
    o.dmReceiver = form.Text("DMailReceiverE");
    o.dmMessage = form.Text("DMailParamE");
    return o;
}

int TConfigureForm::DmWhen() {
    const int item = form_->ItemIndex("DMWhenRG");
    return item < 0 ? 0 : item;
}

// One of the fourteen boxes: the selected MSN's flag follows it.
void TConfigureForm::ServiceBoxClick(int index) {
    if (!lists_->SetSelectedMsnFlag(index, form_->Checked(kServiceBoxes[index]))) return;
    if (!loadingChecks_) Changed();
}

// The selected MSN's flags into the boxes; their handlers then change nothing.
void TConfigureForm::LoadServiceBoxes() {
    MsnFlags flags{};
    if (!lists_->SelectedMsnFlags(flags)) return;
    loadingChecks_ = true;
    for (int i = 0; i < 14; ++i) form_->SetChecked(kServiceBoxes[i], flags[i]);
    loadingChecks_ = false;
}

void TConfigureForm::PAnzeigenBClick() {
    links_.showProtocol(form_->Handle());
}

void TConfigureForm::PLoeschenBClick() {
    links_.deleteProtocol(form_->Handle());
}

void TConfigureForm::InfoBClick() {
    ScopedFlag busy(*links_.dialogBusy);
    links_.about->ShowModal();
}

void TConfigureForm::SetInfoEnabled(bool enabled) {
    form_->SetEnabled("InfoB", enabled);
}

}  // namespace telvor
