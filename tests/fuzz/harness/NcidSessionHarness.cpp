// An NCID client connection fed with arbitrary bytes in arbitrary pieces and times: the
// session keeps its bounds, and everything it sends is a line of its own making, never an
// echo of what the client wrote. The same bytes as the texts of a call must not break the
// CID line's field pairs.
#include <algorithm>
#include <chrono>
#include <string>

#include "Harnesses.h"
#include "ncid/NcidCall.h"
#include "ncid/Session.h"

namespace telvor::fuzz {
namespace {

using namespace std::chrono_literals;

constexpr std::string_view kOwnLines[] = {"200 Server: Telvor ",
                                          "210 API: 1.14 Feature Set 1 4",
                                          "251 Call log not sent",
                                          "252 Call log empty",
                                          "254 Start of call log",
                                          "250 End of call log",
                                          "CIDLOG: *DATE*",
                                          "OPT: country: DE",
                                          "300 End of connection startup",
                                          "ACK: REQ: YO",
                                          "CID: *DATE*"};

void CheckOwnLines(std::string_view sent) {
    while (!sent.empty()) {
        const std::size_t end = sent.find("\r\n");
        Check(end != std::string_view::npos, "output ends inside a line");
        const std::string_view line = sent.substr(0, end);
        Check(std::any_of(std::begin(kOwnLines), std::end(kOwnLines),
                          [&](std::string_view own) { return line.starts_with(own); }),
              "a line the server does not make");
        sent.remove_prefix(end + 2);
    }
}

void CheckCallLine(std::string_view text) {
    const NcidCall call{"12072026",
                        "1435",
                        std::string(text),
                        std::string(text),
                        std::string(text),
                        std::string(text),
                        "",
                        "",
                        ""};
    const std::string line = CidLine(call);
    Check(std::count(line.begin(), line.end(), '*') == 13, "a text added or removed a field");
    Check(line.find_first_of("\r\n") == line.size() - 2, "a text ended the line early");
    Check(line.size() < 1024, "a CID line longer than a client may read");
}

}  // namespace

void NcidSession(Input data) {
    CheckCallLine(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));

    // Small bounds, so that short inputs reach them.
    NcidLimits limits;
    limits.maxLineBytes = 40;
    limits.maxPendingOutput = 3000;
    limits.logCalls = 3;
    // Built once: the harness's time belongs to the session, not to writing the same lines.
    static const std::vector<NcidCall> log(
        4, NcidCall{"12072026", "1435", "4711", "0711", "", "Log", "", "", ""});
    static const std::string live = CidLine(log[0]);
    NcidClock::time_point now{};
    telvor::NcidSession session(limits, now);
    std::string sent;
    constexpr NcidClock::duration kSteps[] = {0ms, 100ms, 1s, 10min, 31min, 5ms, 2s, 20min};
    for (std::size_t at = 0, round = 0; at < data.size(); ++round) {
        // One control byte: the piece's length and how far the clock moves.
        const std::uint8_t control = data[at++];
        const std::size_t length = std::min<std::size_t>(control & 0x1F, data.size() - at);
        now += kSteps[control >> 5];
        session.Received({reinterpret_cast<const char*>(data.data()) + at, length}, now);
        at += length;
        session.Tick(now);
        if (session.LogDue(now)) session.FinishStartup(log);
        if (round % 3 == 2) session.Deliver(live);
        Check(session.PendingOutput().size() <= limits.maxPendingOutput, "output past its bound");
        if (session.Closing() && session.CloseReason() != NcidCloseReason::Goodbye)
            Check(session.PendingOutput().empty(), "output kept for a dropped client");
        // The client reads some of it now and then.
        if (control & 1) {
            const std::size_t take = std::min<std::size_t>(session.PendingOutput().size(), 700);
            sent += session.PendingOutput().substr(0, take);
            session.Sent(take, now);
        }
    }
    sent += session.PendingOutput();
    // A dropped client may have got part of a line before it was dropped.
    if (session.Closing() && session.CloseReason() != NcidCloseReason::Goodbye)
        sent.erase(sent.rfind("\r\n") == std::string::npos ? 0 : sent.rfind("\r\n") + 2);
    CheckOwnLines(sent);
}

}  // namespace telvor::fuzz
