#pragma once
// One client connection of the NCID server, without the socket: what the client sent goes
// in, what it is to get comes out, and the session says when the connection must close.
// The server's thread owns each session; times are handed in, so tests drive the clock.
//
// Start-up: the session queues the greeting head (200, 210) and then waits `helloWindow` for
// the client's HELLO lines; "HELLO: CMD: no_log" asks for no call log. When the window has
// passed (LogDue), the server hands in the call log (FinishStartup) and the session queues
// the log section and the start-up end (OPT, 300). Calls sent during the start-up wait
// behind it, so a client never gets a CID line inside its call log.
//
// Afterwards: "REQ: YO" is answered with "ACK: REQ: YO" (the protocol's acknowledgment is a
// copy of the line received), "GOODBYE" closes, an empty line (keep-alive) and every other
// line are ignored. Nothing a client sends is executed or stored.
//
// Bounds: a line longer than maxLineBytes, output that the client leaves unread beyond
// maxPendingOutput, and a connection without traffic either way for idleTimeout close it.
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ncid/LineReader.h"
#include "ncid/NcidCall.h"

namespace telvor {

using NcidClock = std::chrono::steady_clock;

struct NcidLimits {
    std::size_t maxClients = 32;
    std::size_t maxLineBytes = 1024;
    std::size_t maxPendingOutput = 256 * 1024;
    NcidClock::duration idleTimeout = std::chrono::minutes(30);
    NcidClock::duration helloWindow = std::chrono::seconds(1);
    std::size_t logCalls = 500;
};

enum class NcidCloseReason { None, Goodbye, LineTooLong, OutputOverflow, Idle };

class NcidSession {
  public:
    NcidSession(const NcidLimits& limits, NcidClock::time_point now);

    // Bytes the client sent, in any pieces.
    void Received(std::string_view bytes, NcidClock::time_point now);
    // The start-up is waiting for the call log: the HELLO window has passed.
    bool LogDue(NcidClock::time_point now) const;
    // The client wants the call log (no "HELLO: CMD: no_log"); ask before building it.
    bool WantsLog() const { return !noLog_; }
    // Queues the log section (the last logCalls of `log`) and the end of the start-up.
    void FinishStartup(const std::vector<NcidCall>& log);
    // A line for every client ("CID: …" CR LF); held back while the start-up runs.
    void Deliver(std::string_view line);
    // Closes an idle connection.
    void Tick(NcidClock::time_point now);

    // What waits to be sent, and how much of it went out.
    std::string_view PendingOutput() const { return out_; }
    void Sent(std::size_t bytes, NcidClock::time_point now);

    bool Closing() const { return reason_ != NcidCloseReason::None; }
    NcidCloseReason CloseReason() const { return reason_; }
    // What the client said of itself (HELLO: IDENT), cut to 80 bytes; for diagnostics only.
    const std::string& Ident() const { return ident_; }

  private:
    void HandleLine(const std::string& line);
    void Queue(std::string_view text);
    void Close(NcidCloseReason reason);

    NcidLimits limits_;
    LineReader reader_;
    NcidClock::time_point started_;
    NcidClock::time_point lastTraffic_;
    bool startupDone_ = false;
    bool noLog_ = false;
    std::string held_;  // lines that came during the start-up
    std::string out_;
    std::string ident_;
    NcidCloseReason reason_ = NcidCloseReason::None;
};

}  // namespace telvor
