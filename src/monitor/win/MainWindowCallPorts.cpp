// The effects of the call handlers, carried out with real windows, files, the shell, DDE and
// CAPI. Every effect is fire-and-forget: failures stay silent.
#include "monitor/Protocol.h"
#include "monitor/win/Actions.h"
#include "monitor/win/CallerWindow.h"
#include "monitor/win/DmailConversation.h"
#include "monitor/win/MainWindow.h"
#include "netdde/win/NetworkDistribution.h"
#include "store/CallList.h"
#include "ui/win/ConfigDialog.h"

namespace telvor {

// --- CallPorts: caller windows -----------------------------------------------------------

TCallerForm* TTelvorMainForm::CallerForm(CallerWindowId window) const {
    const auto it = callerForms_.find(window);
    return it == callerForms_.end() ? nullptr : it->second.get();
}

CallerWindowId TTelvorMainForm::CreateCallerWindow(const CallerLabels& labels) {
    std::vector<int> listedTops;
    for (const CallerWindows::Entry& entry : handlers_->Windows().Entries())
        if (TCallerForm* form = CallerForm(entry.window)) listedTops.push_back(form->Top());
    std::unique_ptr<TCallerForm> form = TCallerForm::Create(hwnd_, labels, listedTops);
    if (!form) return 0;
    const CallerWindowId id = IdOf(form->Handle());
    form->OnClosed = [this, id](TCallerForm&) { CallerFormClosed(id); };
    form->OnReject = [this](std::int32_t plci) {
        // A network call's button is disabled: only the line's calls can be rejected.
        if (!capi_ || plci < 0) return;
        capi_->ConnectResp(plci, 0);
        capi_->DisconnectReq(plci);
    };
    form->OnDatabase = [this](const std::string& number) {
        if (configure_) configure_->AddNumberToDatabase(number);
    };
    callerForms_[id] = std::move(form);
    return id;
}

void TTelvorMainForm::CallerFormClosed(CallerWindowId window) {
    if (handlers_->Windows().RemoveWindow(window) && handlers_->Windows().Empty())
        EnableBringToFront(false);
    PostMessageA(hwnd_, WM_FREECALLERFORM, static_cast<WPARAM>(window), 0);
}

void TTelvorMainForm::StartAutoClose(CallerWindowId window, long long milliseconds) {
    if (TCallerForm* form = CallerForm(window))
        form->StartAutoClose(static_cast<UINT>(milliseconds));
}

void TTelvorMainForm::ShowCallerWindow(CallerWindowId window, std::int32_t plci) {
    if (TCallerForm* form = CallerForm(window)) form->Show(plci);
}

void TTelvorMainForm::DiscardCallerWindow(CallerWindowId window) {
    callerForms_.erase(window);
}

void TTelvorMainForm::EnableReject(CallerWindowId window, bool enabled) {
    if (TCallerForm* form = CallerForm(window)) form->EnableReject(enabled);
}

void TTelvorMainForm::MarkCallCleared(CallerWindowId window) {
    if (TCallerForm* form = CallerForm(window)) form->MarkCallCleared();
}

void TTelvorMainForm::CloseCallerWindow(CallerWindowId window) {
    if (TCallerForm* form = CallerForm(window)) form->Close();
}

// --- CallPorts: recording, icon, outside programs, CAPI ----------------------------------

void TTelvorMainForm::WriteProtocolLine(std::string_view line) {
    telvor::WriteProtocolLine(settings_.logFile, line);
}

void TTelvorMainForm::StoreCallListEntry(const CallListEntry& entry) {
    CallRecorded = true;
    if (configure_) configure_->AddCallRow(entry);
    AppendCall(settings_.callFile, ToCallRecord(entry));
}

void TTelvorMainForm::ForwardToClients(const ForwardLines& lines) {
    if (network_) network_->ForwardToClients(lines);
}

void TTelvorMainForm::AnnounceCall(std::int32_t plci, const NcidCall& call) {
    if (!ncid_.Running()) return;
    ncid_.Send(call, NetworkOrigin(plci));
    ringingLines_[plci] = call.line;
}

void TTelvorMainForm::SendDmailMessage(std::string_view text) {
    telvor::SendDmailMessage(settings_.dmReceiver, text, settings_.dmPath);
}

void TTelvorMainForm::IgnoreCall(std::int32_t plci) {
    // An ignored call is cleared for this monitor at once, while it may ring on elsewhere:
    // its clearing says nothing the NCID clients could use.
    ringingLines_.erase(plci);
    if (capi_) capi_->ConnectResp(plci, 1);
}

void TTelvorMainForm::AlertCall(std::int32_t plci) {
    if (capi_) capi_->AlertReq(plci);
}

void TTelvorMainForm::Reinitialise() {
    if (sessionEnded_ || !capi_) return;  // the registration was released for good
    capi_->Close();
    capi_->Open();
}

void TTelvorMainForm::PlaySound(std::string_view path, SoundMode mode) {
    PlayCallSound(path, mode);
}

void TTelvorMainForm::StartProgram(std::string_view program, std::string_view parameters) {
    StartCallProgram(program, parameters);
}

}  // namespace telvor
