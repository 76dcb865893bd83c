#include "netdde/win/RegisterServer.h"

#include <cstring>
#include <exception>

#include "base/win/CallbackGuard.h"
#include "netdde/NetDdeNames.h"

namespace telvor {

namespace {

RegisterServer* current = nullptr;

constexpr DWORD kServerFlags = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_REQUESTS |
                               CBF_FAIL_EXECUTES | CBF_SKIP_REGISTRATIONS |
                               CBF_SKIP_UNREGISTRATIONS;

HDDEDATA Answer(UINT_PTR value) {
    return reinterpret_cast<HDDEDATA>(value);
}

}  // namespace

RegisterServer::RegisterServer(const std::string& service, PokeHandler onRegister)
    : onRegister_(std::move(onRegister)) {
    if (current) return;
    current = this;
    owner_ = true;
    instance_ = DdeInstance::Start(Callback, kServerFlags);
    const DWORD id = instance_.get();
    if (!id) return;
    service_.emplace(id, service.c_str());
    topic_.emplace(id, kServerTopic);
    item_.emplace(id, kRegisterItem);
    registered_ = service_->get() && topic_->get() && item_->get() &&
                  DdeNameService(id, service_->get(), nullptr, DNS_REGISTER);
}

RegisterServer::~RegisterServer() {
    if (!owner_) return;
    if (registered_) DdeNameService(instance_.get(), service_->get(), nullptr, DNS_UNREGISTER);
    item_.reset();
    topic_.reset();
    service_.reset();
    instance_.reset();
    current = nullptr;
}

HDDEDATA CALLBACK RegisterServer::Callback(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2,
                                           HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    return current ? current->Handle(type, format, hsz1, hsz2, data) : nullptr;
}

HDDEDATA RegisterServer::Handle(UINT type, UINT format, HSZ topic, HSZ item,
                                HDDEDATA data) noexcept {
    if (!topic_ || !item_) return nullptr;  // still starting
    switch (type) {
        case XTYP_CONNECT:
            return Answer(DdeCmpStringHandles(topic, topic_->get()) == 0 ? TRUE : FALSE);
        case XTYP_POKE: {
            if (DdeCmpStringHandles(topic, topic_->get()) != 0 ||
                DdeCmpStringHandles(item, item_->get()) != 0 || format != CF_TEXT)
                return Answer(DDE_FNOTPROCESSED);
            // Read in place: only the first line counts, however much a client sends.
            DWORD size = 0;
            const BYTE* bytes = data ? DdeAccessData(data, &size) : nullptr;
            const char* text = reinterpret_cast<const char*>(bytes);
            const std::string_view poked =
                text ? std::string_view(text, strnlen(text, size)) : std::string_view();
            // A failed registration costs the client one renewal, never the monitor.
            if (onRegister_) Guarded("client registration", [&] { onRegister_(poked); });
            if (bytes) DdeUnaccessData(data);
            return Answer(DDE_FACK);
        }
        default:
            return nullptr;
    }
}

}  // namespace telvor
