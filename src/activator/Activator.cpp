#include "activator/Activator.h"

namespace telvor::activator {

namespace {

// ASCII only: the console's code page must not decide what "/ä" means.
constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

Command ParseCommand(std::span<const std::string_view> args) {
    if (args.empty() || args.front().size() < 2) return Command::ShowUsage;
    switch (AsciiUpper(args.front()[1])) {
        case 'D':
            return Command::DisplayOff;
        case 'A':
            return Command::DisplayOn;
        default:
            return Command::ShowUsage;
    }
}

}  // namespace telvor::activator
