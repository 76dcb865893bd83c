// TELVACT: switches the display of calls on or off in a running monitor and network client.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string_view>
#include <vector>

#include "activator/Activator.h"

namespace {

using telvor::activator::Command;

// Binary mode: the text already carries its CR LF and must reach the console unchanged.
void WriteUsage() {
    const std::string_view text = telvor::activator::UsageText();
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

// A program that is not running is skipped without a word: batch files call this blindly.
void SendToRunningPrograms(Command command) {
    const WPARAM state = telvor::activator::DisplayParameter(command);
    for (const auto& target : telvor::activator::kTargetWindows) {
        if (HWND window = FindWindowA(target.className, target.title)) {
            SendMessageA(window, telvor::activator::kSetDisplayMessage, state, 0);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

    const Command command = telvor::activator::ParseCommand(args);
    if (command == Command::ShowUsage) {
        WriteUsage();
    } else {
        SendToRunningPrograms(command);
    }
    return 0;
}
