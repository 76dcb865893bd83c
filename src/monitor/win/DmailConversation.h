#pragma once
// The DDE exchange with dmail pro: one poke of the receiver and the message text to service
// "DMAIL", topic "SMS", item "SEND", starting dmail pro first when no conversation opens.
// Every failure is silent: the call goes on whatever dmail pro does.
#include <windows.h>

#include <string>
#include <string_view>

namespace telvor {

struct DmailTimings {
    // How long to keep trying after dmail pro was started.
    DWORD startWaitMs = 60000;
    // Time-out of the poke transaction.
    DWORD pokeTimeoutMs = 10000;
    // Longest pause between two attempts while waiting; window messages end it early.
    DWORD retryPauseMs = 50;
};

// Pokes "receiver CR LF text CR LF NUL" (CF_TEXT). When no conversation opens, starts
// `dmPath` and retries, keeping the window messages flowing, until the poke is made or the
// wait is over. Returns true when the poke was accepted; the program ignores the result.
bool SendDmailMessage(std::string_view receiver, std::string_view text, const std::string& dmPath,
                      const DmailTimings& timings = {});

}  // namespace telvor
