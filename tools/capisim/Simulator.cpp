#include "Simulator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace capisim {

namespace {

// A confirmation carries the request's number and an Info word after the request's first
// parameter (Controller or PLCI).
Bytes Confirmation(const Bytes& req, std::uint16_t info) {
    Bytes params;
    AppendDword(params, Dword(req, 8));
    AppendWord(params, info);
    return Message(0, Command(req), kConf, MessageNumber(req), params);
}

}  // namespace

std::string FormatEvent(const LogEvent& e) {
    switch (e.kind) {
        case LogEvent::Kind::Register:
            return "REGISTER " + std::to_string(e.applId);
        case LogEvent::Kind::Release:
            return "RELEASE " + std::to_string(e.applId);
        case LogEvent::Kind::Put: {
            std::string line = "PUT " + std::to_string(e.applId) + " " + ToHex(e.bytes);
            if (e.result != err::kOk) {
                char code[16];
                std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(e.result));
                line += " REFUSED ";
                line += code;
            }
            return line;
        }
    }
    return {};
}

Simulator::Simulator(unsigned controllers) : controllers_(std::min(controllers, kMaxControllers)) {}

void Simulator::SetSink(Sink sink) {
    std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
}

void Simulator::SetControllers(unsigned count) {
    std::lock_guard lock(mutex_);
    controllers_ = std::min(count, kMaxControllers);
    EmitLocked("CONTROLLERS " + std::to_string(controllers_));
}

unsigned Simulator::Controllers() const {
    std::lock_guard lock(mutex_);
    return controllers_;
}

std::uint32_t Simulator::Register(std::uint32_t* applId) {
    if (applId == nullptr) return err::kRegisterOsResource;
    std::lock_guard lock(mutex_);
    if (nextApplId_ > 0xFFFF) return err::kTooManyApplications;  // ids are never reused
    auto app = std::make_shared<Application>();
    app->id = static_cast<std::uint16_t>(nextApplId_++);
    apps_[app->id] = app;
    *applId = app->id;
    RecordLocked({LogEvent::Kind::Register, app->id, {}, err::kOk});
    // A call offered before anyone listened rings now.
    while (!pending_.empty()) {
        DeliverLocked(*app, std::move(pending_.front()));
        pending_.pop_front();
    }
    return err::kOk;
}

std::uint32_t Simulator::Release(std::uint32_t applId) {
    std::lock_guard lock(mutex_);
    auto app = FindLocked(applId);
    if (!app) return err::kIllegalApplId;
    apps_.erase(app->id);
    app->released = true;
    app->queue.clear();
    app->current.clear();
    RecordLocked({LogEvent::Kind::Release, app->id, {}, err::kOk});
    app->signal.notify_all();  // the application's wait thread must not stay blocked
    return err::kOk;
}

std::uint32_t Simulator::PutMessage(std::uint32_t applId, const std::uint8_t* msg) {
    if (msg == nullptr) return err::kIllegalMessage;
    const std::uint16_t length = static_cast<std::uint16_t>(msg[0] | (msg[1] << 8));
    // Below 8 octets not even the header is there: log only what the length claims.
    Bytes bytes(msg, msg + std::max<std::uint16_t>(length, 2));
    std::lock_guard lock(mutex_);
    auto app = FindLocked(applId);
    std::uint32_t result = err::kOk;
    if (!app) {
        result = err::kIllegalApplId;
    } else if (length < 12) {
        result = err::kIllegalMessage;  // shorter than the smallest message of the standard
    }
    RecordLocked({LogEvent::Kind::Put, static_cast<std::uint16_t>(applId), bytes, result});
    if (result == err::kOk) AnswerLocked(*app, bytes);
    return result;
}

std::uint32_t Simulator::FetchMessage(std::uint32_t applId, const std::uint8_t** msg) {
    if (msg == nullptr) return err::kIllegalMessage;
    std::lock_guard lock(mutex_);
    auto app = FindLocked(applId);
    if (!app) return err::kIllegalApplId;
    if (app->queue.empty()) return err::kQueueEmpty;
    Queued q = std::move(app->queue.front());
    app->queue.pop_front();
    app->current = std::move(q.bytes);
    if (q.stampApplId && app->current.size() >= 4) {
        app->current[2] = static_cast<std::uint8_t>(app->id & 0xFF);
        app->current[3] = static_cast<std::uint8_t>(app->id >> 8);
    }
    EmitLocked("GET " + std::to_string(app->id) + " " + ToHex(app->current));
    // A raw message may claim more octets than it has: zeros behind it keep a reader that
    // trusts the length field inside our buffer.
    const std::size_t claimed = Word(app->current, 0);
    if (app->current.size() < std::max<std::size_t>(claimed, 8)) {
        app->current.resize(std::max<std::size_t>(claimed, 8), 0);
    }
    *msg = app->current.data();
    return err::kOk;
}

std::uint32_t Simulator::WaitForSignal(std::uint32_t applId) {
    std::unique_lock lock(mutex_);
    auto app = FindLocked(applId);
    if (!app) return err::kIllegalApplId;
    app->signal.wait(lock, [&] { return app->released || !app->queue.empty(); });
    return app->released ? err::kIllegalApplId : err::kOk;
}

std::uint32_t Simulator::GetProfile(std::uint8_t* buffer, std::uint32_t controller) const {
    if (buffer == nullptr) return err::kOsResource;
    std::lock_guard lock(mutex_);
    if (controller > controllers_) return err::kIllegalController;
    std::memset(buffer, 0, kProfileSize);
    buffer[0] = static_cast<std::uint8_t>(controllers_);
    if (controller != 0) {
        buffer[2] = 2;      // B channels of a basic rate interface
        buffer[4] = 0x01;   // global options: internal controller
        buffer[8] = 0x01;   // B1: 64 kbit/s with HDLC framing
        buffer[12] = 0x01;  // B2: ISO 7776 (X.75 SLP)
        buffer[16] = 0x01;  // B3: transparent
    }
    return err::kOk;
}

bool Simulator::OfferConnectInd(std::uint32_t plci, std::uint16_t cip, const Bytes& called,
                                const Bytes& calling, const Bytes& calledSub,
                                const Bytes& callingSub, std::uint16_t applId, std::string& error) {
    std::lock_guard lock(mutex_);
    Bytes msg =
        ConnectInd(0, NextMessageNumberLocked(), plci, cip, called, calling, calledSub, callingSub);
    if (msg.empty()) {
        error = "message longer than 65535 octets";
        return false;
    }
    return OfferLocked({std::move(msg), true}, applId, error);
}

bool Simulator::OfferDisconnectInd(std::uint32_t plci, std::uint16_t reason, std::uint16_t applId,
                                   std::string& error) {
    std::lock_guard lock(mutex_);
    return OfferLocked({DisconnectInd(0, NextMessageNumberLocked(), plci, reason), true}, applId,
                       error);
}

bool Simulator::OfferRaw(const Bytes& bytes, std::uint16_t applId, std::string& error) {
    if (bytes.empty()) {
        error = "empty message";
        return false;
    }
    if (bytes.size() > 0xFFFF) {
        error = "message longer than 65535 octets";
        return false;
    }
    std::lock_guard lock(mutex_);
    return OfferLocked({bytes, false}, applId, error);
}

std::vector<LogEvent> Simulator::Log() const {
    std::lock_guard lock(mutex_);
    return log_;
}

void Simulator::ClearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

std::shared_ptr<Simulator::Application> Simulator::FindLocked(std::uint32_t applId) const {
    if (applId == 0 || applId > 0xFFFF) return nullptr;
    auto it = apps_.find(static_cast<std::uint16_t>(applId));
    return it == apps_.end() ? nullptr : it->second;
}

void Simulator::DeliverLocked(Application& app, Queued q) {
    app.queue.push_back(std::move(q));
    app.signal.notify_all();
}

bool Simulator::OfferLocked(Queued q, std::uint16_t applId, std::string& error) {
    if (applId != 0) {
        auto app = FindLocked(applId);
        if (!app) {
            error = "application " + std::to_string(applId) + " is not registered";
            return false;
        }
        DeliverLocked(*app, std::move(q));
        return true;
    }
    if (apps_.empty()) {
        EmitLocked("KEPT " + ToHex(q.bytes));
        pending_.push_back(std::move(q));
        return true;
    }
    // Ids only grow, so the highest one is the most recent registration.
    DeliverLocked(*apps_.rbegin()->second, std::move(q));
    return true;
}

// What a controller answers to the requests and responses the monitor sends.
void Simulator::AnswerLocked(Application& app, const Bytes& msg) {
    const std::uint8_t command = Command(msg);
    const std::uint8_t sub = Subcommand(msg);
    const std::uint32_t plci = Plci(msg);
    auto deliver = [&](Bytes m) { DeliverLocked(app, {std::move(m), true}); };
    if (sub == kReq && (command == kListen || command == kAlert)) {
        deliver(Confirmation(msg, 0));
    } else if (sub == kReq && command == kDisconnect) {
        deliver(Confirmation(msg, 0));
        deliver(MakeIndicationLocked(kDisconnect, plci, Bytes{0, 0}));  // reason 0: normal
    } else if (sub == kResp && command == kConnect && msg.size() >= 14) {
        if (Word(msg, 12) == 0) {
            // Connected number, connected subaddress, LLC: empty.
            deliver(MakeIndicationLocked(kConnectActive, plci, Bytes{0, 0, 0}));
        } else {
            // Ignored or rejected: the call is cleared for this application.
            deliver(MakeIndicationLocked(kDisconnect, plci, Bytes{0, 0}));
        }
    } else if (sub == kResp) {
        // Responses to the simulator's indications need no answer.
    } else {
        EmitLocked("IGNORED " + std::to_string(app.id) + " " + ToHex(msg));
    }
}

std::uint16_t Simulator::NextMessageNumberLocked() {
    const std::uint16_t number = nextMessageNumber_++;
    if (nextMessageNumber_ == 0) nextMessageNumber_ = 1;
    return number;
}

Bytes Simulator::MakeIndicationLocked(std::uint8_t command, std::uint32_t plci,
                                      const Bytes& params) {
    Bytes all;
    AppendDword(all, plci);
    all.insert(all.end(), params.begin(), params.end());
    return Message(0, command, kInd, NextMessageNumberLocked(), all);
}

void Simulator::RecordLocked(LogEvent e) {
    EmitLocked(FormatEvent(e));
    log_.push_back(std::move(e));
}

void Simulator::EmitLocked(const std::string& line) {
    if (sink_) sink_(line);
}

}  // namespace capisim
