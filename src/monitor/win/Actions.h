#pragma once
// What a call can trigger on this PC besides its window (a caller's or an MSN's sound or
// program) and the two commands on the protocol file. Sounds and programs fail silently.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "monitor/CallPorts.h"

namespace telvor {

// True when the last four characters, upper-cased, are ".WAV".
bool IsSoundFile(std::string_view program);

// sndPlaySound with SND_NOSTOP (a sound already playing is not cut off) and SND_SYNC or
// SND_ASYNC. A file that cannot be played stays quiet.
void PlayCallSound(std::string_view path, SoundMode mode);

// Opens `program` with `parameters` (already expanded), no working directory, default show
// state. A program that cannot be started is not reported.
void StartCallProgram(std::string_view program, std::string_view parameters);

// The caller or MSN action: a .WAV file is played, anything else started.
void RunCallAction(std::string_view program, std::string_view expandedParameters, SoundMode mode);

// Runs a command line (WinExec with SW_SHOWNORMAL); replaceable in tests.
using CommandRunner = std::function<void(const std::string& commandLine)>;
void RunCommandLine(const std::string& commandLine);

// "&Protokolldatei anzeigen": Notepad with the protocol file, or error 20013 when it is
// missing. Returns true when Notepad was asked to open it.
bool ShowProtocol(const std::string& path, HWND owner = nullptr,
                  const CommandRunner& run = RunCommandLine);

// "&Löschen": question 20014, then the file goes; error 20013 when it is missing. Returns
// true when the file was deleted.
bool DeleteProtocol(const std::string& path, HWND owner = nullptr);

}  // namespace telvor
