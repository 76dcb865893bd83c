#pragma once
// TELVACT's rules, free of the platform: what the command line asks for, which windows
// receive the request and with which message, and the usage text.
#include <array>
#include <span>
#include <string_view>

namespace telvor::activator {

enum class Command { ShowUsage, DisplayOff, DisplayOn };

// Reads the first argument (program name excluded): only its second character counts,
// upper-cased in ASCII; D wins over A; anything else, or an argument shorter than two
// characters, or none at all, asks for the usage text. Further arguments are ignored.
Command ParseCommand(std::span<const std::string_view> args);

// The control message a running monitor and the network client understand.
inline constexpr unsigned kSetDisplayMessage = 0x403;

// wParam of kSetDisplayMessage: 1 switches the display of calls on, 0 off.
// Only meaningful for DisplayOff and DisplayOn.
constexpr unsigned DisplayParameter(Command command) {
    return command == Command::DisplayOn ? 1u : 0u;
}

struct TargetWindow {
    const char* className;
    const char* title;
};

// In the order they are addressed: the monitor first, then the network client.
inline constexpr std::array<TargetWindow, 2> kTargetWindows{{
    {"TTelvorMainForm", "TelvorServer"},
    {"TTelvClientMainForm", "TelvorClient"},
}};

// The usage text in code page 850, every line ended by CR LF; written to the console as is.
std::string_view UsageText();

}  // namespace telvor::activator
