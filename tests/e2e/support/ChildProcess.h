#pragma once
// One program started by a test. Its output goes to files in the case folder, never through
// pipes: Wine's helper processes inherit the handles and would keep a pipe open forever.
// Standard input is the NUL device, so a program that reads input sees end of file at once.
// The destructor terminates a program that is still running, so a failed test (or a fixture's
// TearDown that simply lets it go) leaves nothing behind.
#include <windows.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/win/Handles.h"

namespace telvor::e2e {

using namespace std::chrono_literals;

// What to start and how: LaunchOptions(BinFile("TELVACT.exe"), {"/D"}).In(folder).Env("X", "1")
struct LaunchOptions {
    explicit LaunchOptions(std::string program_, std::vector<std::string> args_ = {})
        : program(std::move(program_)), args(std::move(args_)) {}
    LaunchOptions& In(std::string folder) { return workDir = std::move(folder), *this; }
    LaunchOptions& Env(const std::string& name, std::string value) {
        return environment[name] = std::move(value), *this;
    }
    LaunchOptions& OutputAs(std::string stem) { return outputName = std::move(stem), *this; }

    std::string program;                             // full path of the .exe
    std::vector<std::string> args;                   // quoted as the C runtime parses them
    std::string workDir;                             // empty: the case folder
    std::map<std::string, std::string> environment;  // added to, or replacing, the test's own
    std::string outputName;  // stem of <case>\<stem>.stdout/.stderr; empty: name and a number
};

class ChildProcess {
  public:
    // Throws std::runtime_error when the program cannot be started.
    explicit ChildProcess(const LaunchOptions& options);
    ChildProcess(ChildProcess&&) noexcept = default;
    ChildProcess& operator=(ChildProcess&&) noexcept = default;
    ~ChildProcess();

    // True when the program ended within `timeout`.
    bool WaitForExit(std::chrono::milliseconds timeout);
    bool IsRunning() const;
    // The exit code once the program has ended; nothing while it runs.
    std::optional<DWORD> ExitCode() const;
    // Ends the program by its handle (exit code 1) and waits for it, bounded.
    void Terminate();

    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_.get(); }
    const std::string& StdoutPath() const { return stdoutPath_; }
    const std::string& StderrPath() const { return stderrPath_; }
    // What the program has written so far (all of it once it has ended).
    std::string Stdout() const;
    std::string Stderr() const;

  private:
    KernelHandle process_;
    DWORD pid_ = 0;
    std::string stdoutPath_;
    std::string stderrPath_;
};

// One argument quoted so that the child's C runtime hands it back unchanged.
std::string QuoteArgument(const std::string& arg);

struct RunResult {
    DWORD exitCode;
    std::string out;
    std::string err;
};

// Starts the program, waits for its end and returns exit code and output. Throws when it
// does not end within `timeout` (it is terminated then).
RunResult RunProgram(const LaunchOptions& options, std::chrono::milliseconds timeout = 30s);

}  // namespace telvor::e2e
