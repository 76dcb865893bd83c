#pragma once
// One connection of the NCID client to a server, without the socket: what the server sent
// goes in, calls, ends of calls and what to send back come out, and the session says when
// the connection must close. Times are handed in, so tests drive the clock.
//
// Start-up: the server's first line must be its "200" line, else the peer speaks another
// protocol. Right after the "210" (API) line the session answers with HELLO: IDENT and
// HELLO: CMD: no_log (the monitor keeps its own call list and wants no call log). Up to
// "300 End of connection startup" every line is ignored, call log lines included.
// Afterwards "CID:" lines are calls (ParseCidLine), "CIDINFO:"/"END:" lines may end one
// (ParseCallEnd), and every other line is ignored.
//
// Bounds: a line longer than 1 024 bytes, a start-up that has not ended after a minute, and
// the server's close end the connection. After 15 minutes without traffic either way the
// session sends an empty line, which a server ignores: a connection that died unnoticed then
// fails on the send.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ncid/LineReader.h"
#include "ncid/NcidCall.h"

namespace telvor {

using NcidClientClock = std::chrono::steady_clock;

struct NcidClientLimits {
    std::size_t maxLineBytes = 1024;
    NcidClientClock::duration startupTimeout = std::chrono::minutes(1);
    NcidClientClock::duration keepAlive = std::chrono::minutes(15);
};

// What a connection tells the program: a call, or the end of the call on a line.
struct NcidClientEvent {
    enum class Kind { Call, CallEnd };
    Kind kind = Kind::Call;
    NcidCall call;     // Call
    std::string line;  // CallEnd: the line id (empty: the server gave none)
};

enum class NcidClientClose { None, NotNcid, LineTooLong, StartupTimeout };

class NcidClientSession {
  public:
    // `version`: the program's, for HELLO: IDENT.
    NcidClientSession(std::string_view version, NcidClientClock::time_point now,
                      const NcidClientLimits& limits = {});

    // Bytes the server sent, in any pieces; what they complete is in TakeEvents.
    void Received(std::string_view bytes, NcidClientClock::time_point now);
    // Queues the keep-alive when it is due; closes a start-up that took too long.
    void Tick(NcidClientClock::time_point now);

    std::vector<NcidClientEvent> TakeEvents();
    std::string_view PendingOutput() const { return out_; }
    void Sent(std::size_t bytes, NcidClientClock::time_point now);

    // "300" has come: the connection is up.
    bool StartupDone() const { return startupDone_; }
    bool Closing() const { return reason_ != NcidClientClose::None; }
    NcidClientClose CloseReason() const { return reason_; }

  private:
    void HandleLine(const std::string& line);

    NcidClientLimits limits_;
    std::string version_;
    LineReader reader_;
    NcidClientClock::time_point started_;
    NcidClientClock::time_point lastTraffic_;
    bool greeted_ = false;  // the 200 line came
    bool startupDone_ = false;
    std::string out_;
    std::vector<NcidClientEvent> events_;
    NcidClientClose reason_ = NcidClientClose::None;
};

}  // namespace telvor
