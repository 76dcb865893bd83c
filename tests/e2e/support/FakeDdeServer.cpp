#include "support/FakeDdeServer.h"

#include <stdexcept>
#include <utility>

namespace telvor::e2e {

namespace {

// DDEML callbacks carry no context, but each instance calls back on its own thread.
thread_local FakeDdeServer* current = nullptr;

}  // namespace

FakeDdeServer::FakeDdeServer(std::string service, std::string topic, std::string item, Mode mode)
    : service_(std::move(service)), topic_(std::move(topic)), item_(std::move(item)), mode_(mode) {
    thread_ = std::thread([this] { Run(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ready_ || !error_.empty(); });
    if (!error_.empty()) {
        lock.unlock();
        thread_.join();
        throw std::runtime_error(error_);
    }
}

FakeDdeServer::~FakeDdeServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

// DDEML instances belong to the thread that made them: set-up, the loop and the clean-up all
// run here.
void FakeDdeServer::Run() {
    current = this;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's message queue
    threadId_ = GetCurrentThreadId();
    const UINT filters = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_REQUESTS |
                         CBF_FAIL_EXECUTES | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    HSZ service = nullptr;
    if (DdeInitializeA(&instance_, Callback, filters, 0) == DMLERR_NO_ERROR) {
        service = DdeCreateStringHandleA(instance_, service_.c_str(), CP_WINANSI);
        if (!service || !DdeNameService(instance_, service, nullptr, DNS_REGISTER)) {
            std::lock_guard lock(mutex_);
            error_ = "cannot register the DDE service " + service_;
        }
    } else {
        std::lock_guard lock(mutex_);
        error_ = "DdeInitialize failed";
    }
    {
        std::lock_guard lock(mutex_);
        if (error_.empty()) ready_ = true;
    }
    changed_.notify_all();
    if (ready_) {
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DdeNameService(instance_, service, nullptr, DNS_UNREGISTER);
    }
    if (service) DdeFreeStringHandle(instance_, service);
    if (instance_) DdeUninitialize(instance_);
}

bool FakeDdeServer::Is(HSZ hsz, const std::string& text) const {
    char buffer[256] = {};
    DdeQueryStringA(instance_, hsz, buffer, sizeof buffer, CP_WINANSI);
    return _stricmp(buffer, text.c_str()) == 0;
}

HDDEDATA CALLBACK FakeDdeServer::Callback(UINT type, UINT format, HCONV, HSZ topic, HSZ item,
                                          HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    FakeDdeServer* self = current;
    return self ? self->Handle(type, format, topic, item, data) : nullptr;
}

HDDEDATA FakeDdeServer::Handle(UINT type, UINT format, HSZ topic, HSZ item,
                               HDDEDATA data) noexcept {
    switch (type) {
        case XTYP_CONNECT: {
            const bool ours = Is(topic, topic_);
            if (ours) {
                std::lock_guard lock(mutex_);
                ++connects_;
            }
            return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(ours ? TRUE : FALSE));
        }
        case XTYP_POKE: {
            if (!Is(topic, topic_) || !Is(item, item_) || format != CF_TEXT)
                return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
            if (mode_ == Mode::Hang) {
                // Stuck: no acknowledgement while the client waits (the end of the test cuts
                // the hang short).
                std::unique_lock lock(mutex_);
                ++heldPokes_;
                changed_.notify_all();
                changed_.wait_for(lock, kHangMs, [this] { return stopping_; });
                return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
            }
            const DWORD size = DdeGetData(data, nullptr, 0, 0);
            std::string bytes(size, '\0');
            if (size) DdeGetData(data, reinterpret_cast<LPBYTE>(bytes.data()), size, 0);
            {
                std::lock_guard lock(mutex_);
                pokes_.push_back(std::move(bytes));
            }
            changed_.notify_all();
            return reinterpret_cast<HDDEDATA>(DDE_FACK);
        }
        default:
            return nullptr;
    }
}

std::vector<std::string> FakeDdeServer::Pokes() const {
    std::lock_guard lock(mutex_);
    return pokes_;
}

bool FakeDdeServer::WaitForPokes(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return pokes_.size() >= count; });
}

unsigned FakeDdeServer::Connects() const {
    std::lock_guard lock(mutex_);
    return connects_;
}

unsigned FakeDdeServer::HeldPokes() const {
    std::lock_guard lock(mutex_);
    return heldPokes_;
}

namespace {

HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

bool PokeOnThisThread(const std::string& service, const std::string& topic, const std::string& item,
                      std::string data) {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return false;
    HSZ names[3] = {DdeCreateStringHandleA(instance, service.c_str(), CP_WINANSI),
                    DdeCreateStringHandleA(instance, topic.c_str(), CP_WINANSI),
                    DdeCreateStringHandleA(instance, item.c_str(), CP_WINANSI)};
    bool acknowledged = false;
    if (HCONV conv = DdeConnect(instance, names[0], names[1], nullptr)) {
        DWORD result = 0;
        const HDDEDATA done = DdeClientTransaction(reinterpret_cast<LPBYTE>(data.data()),
                                                   static_cast<DWORD>(data.size()), conv, names[2],
                                                   CF_TEXT, XTYP_POKE, 10000, &result);
        acknowledged = done != nullptr && (result & DDE_FACK) != 0;
        DdeDisconnect(conv);
    }
    for (HSZ name : names)
        if (name) DdeFreeStringHandle(instance, name);
    DdeUninitialize(instance);
    return acknowledged;
}

}  // namespace

bool PokeDde(const std::string& service, const std::string& topic, const std::string& item,
             std::string data) {
    // On a thread of its own, whose end takes every window of the conversation along: Wine
    // keeps some until then, and a window whose thread no longer pumps stalls every later DDE
    // connection attempt on the desktop (the monitor's among them).
    bool acknowledged = false;
    std::thread([&] {
        acknowledged = PokeOnThisThread(service, topic, item, std::move(data));
    }).join();
    return acknowledged;
}

}  // namespace telvor::e2e
