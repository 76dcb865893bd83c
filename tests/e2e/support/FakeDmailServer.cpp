#include "support/FakeDmailServer.h"


#include <atomic>
#include <stdexcept>

namespace telvor::e2e {

namespace {

std::atomic<FakeDmailServer*> current{nullptr};

}  // namespace

FakeDmailServer::FakeDmailServer(Mode mode) : mode_(mode) {
    FakeDmailServer* expected = nullptr;
    if (!current.compare_exchange_strong(expected, this))
        throw std::runtime_error("only one fake dmail server per process");
    thread_ = std::thread([this] { Run(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ready_ || !error_.empty(); });
    if (!error_.empty()) {
        lock.unlock();
        thread_.join();
        current = nullptr;
        throw std::runtime_error(error_);
    }
}

FakeDmailServer::~FakeDmailServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    current = nullptr;
}

// DDEML instances belong to the thread that made them: set-up, the loop and the clean-up all
// run here.
void FakeDmailServer::Run() {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's message queue
    threadId_ = GetCurrentThreadId();
    const UINT filters = APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_REQUESTS |
                         CBF_FAIL_EXECUTES | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    HSZ service = nullptr;
    if (DdeInitializeA(&instance_, Callback, filters, 0) == DMLERR_NO_ERROR) {
        service = DdeCreateStringHandleA(instance_, "DMAIL", CP_WINANSI);
        if (!service || !DdeNameService(instance_, service, nullptr, DNS_REGISTER)) {
            std::lock_guard lock(mutex_);
            error_ = "cannot register the DDE service DMAIL";
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

bool FakeDmailServer::Is(HSZ hsz, const char* text) const {
    char buffer[64] = {};
    DdeQueryStringA(instance_, hsz, buffer, sizeof buffer, CP_WINANSI);
    return _stricmp(buffer, text) == 0;
}

HDDEDATA CALLBACK FakeDmailServer::Callback(UINT type, UINT format, HCONV, HSZ topic, HSZ item,
                                            HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    FakeDmailServer* self = current.load();
    return self ? self->Handle(type, format, topic, item, data) : nullptr;
}

HDDEDATA FakeDmailServer::Handle(UINT type, UINT format, HSZ topic, HSZ item,
                                 HDDEDATA data) noexcept {
    switch (type) {
        case XTYP_CONNECT: {
            const bool ours = Is(topic, "SMS");
            if (ours) {
                std::lock_guard lock(mutex_);
                ++connects_;
            }
            return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(ours ? TRUE : FALSE));
        }
        case XTYP_POKE: {
            if (!Is(topic, "SMS") || !Is(item, "SEND") || format != CF_TEXT)
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

std::vector<std::string> FakeDmailServer::Pokes() const {
    std::lock_guard lock(mutex_);
    return pokes_;
}

bool FakeDmailServer::WaitForPokes(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return pokes_.size() >= count; });
}

unsigned FakeDmailServer::Connects() const {
    std::lock_guard lock(mutex_);
    return connects_;
}

unsigned FakeDmailServer::HeldPokes() const {
    std::lock_guard lock(mutex_);
    return heldPokes_;
}

}  // namespace telvor::e2e
