#include "ncid/Session.h"

#include <algorithm>

#include "ncid/Greeting.h"

namespace telvor {
namespace {

constexpr std::string_view kHelloIdent = "HELLO: IDENT: ";
constexpr std::string_view kHelloCmd = "HELLO: CMD: ";
constexpr std::size_t kIdentBytes = 80;

std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

NcidSession::NcidSession(const NcidLimits& limits, NcidClock::time_point now)
    : limits_(limits), reader_(limits.maxLineBytes), started_(now), lastTraffic_(now) {
    Queue(NcidGreetingHead());
}

void NcidSession::Received(std::string_view bytes, NcidClock::time_point now) {
    if (Closing()) return;
    if (!bytes.empty()) lastTraffic_ = now;
    std::vector<std::string> lines;
    const bool ok = reader_.Feed(bytes, lines);
    // The lines before the overlong one are the client's last word.
    for (const std::string& line : lines) {
        if (Closing()) return;
        HandleLine(line);
    }
    if (!ok) Close(NcidCloseReason::LineTooLong);
}

void NcidSession::HandleLine(const std::string& line) {
    const std::string_view text = line;
    // HELLO lines count only before the log goes out; later they are lines like any other.
    if (!startupDone_ && text.starts_with(kHelloCmd)) {
        if (TrimEnd(text.substr(kHelloCmd.size())) == "no_log") noLog_ = true;
        return;
    }
    if (!startupDone_ && text.starts_with(kHelloIdent)) {
        ident_ = std::string(text.substr(kHelloIdent.size(), kIdentBytes));
        return;
    }
    if (text == "REQ: YO") {
        Deliver("ACK: REQ: YO\r\n");
    } else if (TrimEnd(text) == "GOODBYE") {
        Close(NcidCloseReason::Goodbye);
    }
}

bool NcidSession::LogDue(NcidClock::time_point now) const {
    return !startupDone_ && !Closing() && now - started_ >= limits_.helloWindow;
}

void NcidSession::FinishStartup(const std::vector<NcidCall>& log) {
    if (startupDone_ || Closing()) return;
    startupDone_ = true;
    Queue(NcidCallLogSection(log, !noLog_, limits_.logCalls));
    Queue(NcidStartupEnd());
    Queue(held_);
    held_ = std::string();
}

void NcidSession::Deliver(std::string_view line) {
    if (Closing()) return;
    if (startupDone_) {
        Queue(line);
        return;
    }
    // Bounded like the output itself: a start-up that never ends cannot hoard lines.
    if (held_.size() + line.size() > limits_.maxPendingOutput) {
        Close(NcidCloseReason::OutputOverflow);
        return;
    }
    held_ += line;
}

void NcidSession::Tick(NcidClock::time_point now) {
    if (!Closing() && now - lastTraffic_ > limits_.idleTimeout) Close(NcidCloseReason::Idle);
}

void NcidSession::Sent(std::size_t bytes, NcidClock::time_point now) {
    if (bytes == 0) return;
    out_.erase(0, std::min(bytes, out_.size()));
    lastTraffic_ = now;
}

void NcidSession::Queue(std::string_view text) {
    if (Closing()) return;
    if (out_.size() + text.size() > limits_.maxPendingOutput) {
        Close(NcidCloseReason::OutputOverflow);
        return;
    }
    out_ += text;
}

void NcidSession::Close(NcidCloseReason reason) {
    reason_ = reason;
    // Overflowed output is dropped; after a GOODBYE what is queued still goes out.
    if (reason != NcidCloseReason::Goodbye) out_.clear();
    held_.clear();
}

}  // namespace telvor
