#include "netdde/win/CallerConv.h"

namespace telvor {

namespace {

HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;  // a client-only instance has nothing to answer
}

}  // namespace

CallerConv::CallerConv() : instance_(ClientCallback, APPCMD_CLIENTONLY) {}

void CallerConv::SetLink(const std::string& service, const std::string& topic) {
    CloseLink();
    service_ = service;
    topic_ = topic;
    serviceHsz_.emplace(instance_.Id(), service_.c_str());
    topicHsz_.emplace(instance_.Id(), topic_.c_str());
}

HCONV CallerConv::Connect() const {
    // A name DDEML refused (too long) cannot be served by anyone: no attempt at all.
    if (!serviceHsz_ || !topicHsz_ || !serviceHsz_->Get() || !topicHsz_->Get()) return nullptr;
    return DdeConnect(instance_.Id(), serviceHsz_->Get(), topicHsz_->Get(), nullptr);
}

bool CallerConv::OpenLink(bool mayStart) {
    CloseLink();
    HCONV opened = Connect();
    if (!opened && mayStart && serviceHsz_ && serviceHsz_->Get()) {
        const std::string command = service_ + " " + topic_;
        if (WinExec(command.c_str(), SW_SHOWMINNOACTIVE) > 31) opened = Connect();
    }
    conv_.Reset(opened);
    return static_cast<bool>(conv_);
}

bool CallerConv::PokeData(const std::string& item, const std::string& data, DWORD timeoutMs) {
    if (!conv_) return false;
    const DdeString itemHsz(instance_.Id(), item.c_str());
    if (!itemHsz.Get()) return false;
    std::string bytes = data;  // DDEML takes a non-const buffer
    DWORD result = 0;
    const HDDEDATA done = DdeClientTransaction(
        reinterpret_cast<LPBYTE>(bytes.data()), static_cast<DWORD>(bytes.size()), conv_.Get(),
        itemHsz.Get(), CF_TEXT, XTYP_POKE, timeoutMs, &result);
    // A refusing server completes the transaction too; only its acknowledgement counts.
    return done != nullptr && (result & DDE_FACK) != 0;
}

bool DdeClientConnector::PokeClient(const ClientShare& share, const std::string& payload) {
    conv_.SetLink(share.service, share.topic);
    if (!conv_.OpenLink(share.mayStartService)) return false;
    const bool poked = conv_.PokeData(share.item, payload);
    conv_.CloseLink();
    return poked;
}

}  // namespace telvor
