#include "ncid/ClientSession.h"

#include "ncid/CidReader.h"

namespace telvor {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A numbered server line: the number, then a blank or the end ("300 End of ...").
bool IsCode(std::string_view line, std::string_view code) {
    return StartsWith(line, code) && (line.size() == code.size() || line[code.size()] == ' ');
}

}  // namespace

NcidClientSession::NcidClientSession(std::string_view version, NcidClientClock::time_point now,
                                     const NcidClientLimits& limits)
    : limits_(limits),
      version_(version),
      reader_(limits.maxLineBytes),
      started_(now),
      lastTraffic_(now) {}

void NcidClientSession::Received(std::string_view bytes, NcidClientClock::time_point now) {
    if (Closing()) return;
    lastTraffic_ = now;
    std::vector<std::string> lines;
    const bool ok = reader_.Feed(bytes, lines);
    for (const std::string& line : lines) {
        if (Closing()) break;
        HandleLine(line);
    }
    if (!ok && !Closing()) reason_ = NcidClientClose::LineTooLong;
}

void NcidClientSession::HandleLine(const std::string& line) {
    if (!greeted_) {
        if (!IsCode(line, "200")) {
            reason_ = NcidClientClose::NotNcid;
            return;
        }
        greeted_ = true;
        return;
    }
    if (!startupDone_) {
        if (IsCode(line, "210")) {
            out_ += "HELLO: IDENT: client Telvor " + version_ + "\r\n";
            out_ += "HELLO: CMD: no_log\r\n";
        } else if (IsCode(line, "300")) {
            startupDone_ = true;
        }
        return;
    }
    if (auto call = ParseCidLine(line)) {
        events_.push_back({NcidClientEvent::Kind::Call, std::move(*call), {}});
    } else if (auto end = ParseCallEnd(line)) {
        events_.push_back({NcidClientEvent::Kind::CallEnd, {}, std::move(*end)});
    }
}

void NcidClientSession::Tick(NcidClientClock::time_point now) {
    if (Closing()) return;
    if (!startupDone_ && now - started_ >= limits_.startupTimeout) {
        reason_ = NcidClientClose::StartupTimeout;
        return;
    }
    if (startupDone_ && out_.empty() && now - lastTraffic_ >= limits_.keepAlive) {
        out_ = "\r\n";
        lastTraffic_ = now;  // one keep-alive per quiet period, not one per tick
    }
}

std::vector<NcidClientEvent> NcidClientSession::TakeEvents() {
    return std::exchange(events_, {});
}

void NcidClientSession::Sent(std::size_t bytes, NcidClientClock::time_point now) {
    out_.erase(0, bytes);
    lastTraffic_ = now;
}

}  // namespace telvor
