// An NCID server's bytes, arbitrary and in arbitrary pieces and times, fed to the client's
// connection: the session keeps its bounds, sends only lines of its own making, and every
// call it hands over has texts that are safe on a command line.
#include <algorithm>
#include <chrono>
#include <string>

#include "Harnesses.h"
#include "ncid/ClientSession.h"

namespace telvor::fuzz {
namespace {

using namespace std::chrono_literals;

bool HasOnly(const std::string& text, std::string_view allowed) {
    return text.find_first_not_of(allowed) == std::string::npos;
}

void CheckCall(const NcidCall& call) {
    Check(HasOnly(call.number, "0123456789+*#"), "a number with more than a number");
    for (const std::string* text :
         {&call.name, &call.line, &call.mesg, &call.town, &call.country, &call.formattedNumber})
        Check(text->find_first_of("\"'%&|<>^!\r\n") == std::string::npos,
              "a text a command interpreter acts on");
    Check(call.name.size() <= kNcidNameChars && call.number.size() <= kNcidNumberChars,
          "a text past its length");
    Check(call.date.empty() || (call.date.size() == 8 && HasOnly(call.date, "0123456789")),
          "a date that is no mmddyyyy");
}

}  // namespace

void NcidClient(Input data) {
    NcidClientLimits limits;
    limits.maxLineBytes = 200;  // small, so that short inputs reach it
    NcidClientClock::time_point now{};
    NcidClientSession session("2.00", now, limits);
    // Half the inputs start past the start-up, so that the search reaches the call lines.
    if (!data.empty() && (data[0] & 1)) session.Received("200 s\r\n210 a\r\n300 e\r\n", now);
    std::string sent;
    constexpr NcidClientClock::duration kSteps[] = {0ms, 100ms, 1s, 10min, 16min, 5ms, 61s, 1h};
    for (std::size_t at = 1; at < data.size();) {
        const std::uint8_t control = data[at++];
        const std::size_t length = std::min<std::size_t>(control & 0x1F, data.size() - at);
        now += kSteps[control >> 5];
        session.Received({reinterpret_cast<const char*>(data.data()) + at, length}, now);
        at += length;
        session.Tick(now);
        for (const NcidClientEvent& e : session.TakeEvents()) {
            Check(session.StartupDone(), "an event before the start-up ended");
            if (e.kind == NcidClientEvent::Kind::Call) CheckCall(e.call);
        }
        sent += session.PendingOutput();
        session.Sent(session.PendingOutput().size(), now);
    }
    // HELLO lines once per API line, keep-alives: nothing of the server's comes back.
    for (std::string_view rest = sent; !rest.empty();) {
        const std::size_t end = rest.find("\r\n");
        Check(end != std::string_view::npos, "output ends inside a line");
        const std::string_view line = rest.substr(0, end);
        Check(line.empty() || line == "HELLO: IDENT: client Telvor 2.00" ||
                  line == "HELLO: CMD: no_log",
              "a line the client does not make");
        rest.remove_prefix(end + 2);
    }
}

}  // namespace telvor::fuzz
