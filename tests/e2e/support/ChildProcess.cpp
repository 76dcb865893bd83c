#include "support/ChildProcess.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <stdexcept>

#include "support/CaseFiles.h"

namespace telvor::e2e {

namespace {

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

std::string UniqueOutputStem(const std::string& program) {
    static std::atomic<unsigned> counter{0};
    return BaseName(program) + "-" + std::to_string(++counter);
}

KernelHandle OpenInheritable(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    KernelHandle h(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) throw std::runtime_error("cannot open " + path);
    return h;
}

struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::toupper(x) < std::toupper(y); });
    }
};

// The test's own environment with the extra variables laid over it, as the sorted block of
// NUL-terminated "name=value" strings that CreateProcessA expects.
std::string EnvironmentBlock(const std::map<std::string, std::string>& extra) {
    std::map<std::string, std::string, CaseInsensitiveLess> vars;
    if (char* block = GetEnvironmentStringsA()) {
        for (const char* p = block; *p; p += std::char_traits<char>::length(p) + 1) {
            const std::string entry(p);
            // Names may start with '=' (the per-drive folders "=C:=C:\..."), so search from 1.
            const auto eq = entry.find('=', 1);
            if (eq == std::string::npos) continue;
            vars[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        FreeEnvironmentStringsA(block);
    }
    for (const auto& [name, value] : extra) vars[name] = value;
    std::string out;
    for (const auto& [name, value] : vars) {
        out += name;
        out += '=';
        out += value;
        out += '\0';
    }
    out += '\0';
    return out;
}

std::string ReadOrEmpty(const std::string& path) {
    return ReadFileBytes(path).value_or("");
}

}  // namespace

std::string QuoteArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: double them there, and escape the quote.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

ChildProcess::ChildProcess(const LaunchOptions& options) {
    const std::string stem =
        options.outputName.empty() ? UniqueOutputStem(options.program) : options.outputName;
    stdoutPath_ = JoinPath(CaseDir(), stem + ".stdout");
    stderrPath_ = JoinPath(CaseDir(), stem + ".stderr");

    KernelHandle input = OpenInheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    KernelHandle output = OpenInheritable(stdoutPath_, GENERIC_WRITE, CREATE_ALWAYS);
    KernelHandle errors = OpenInheritable(stderrPath_, GENERIC_WRITE, CREATE_ALWAYS);

    std::string commandLine = QuoteArgument(options.program);
    for (const auto& arg : options.args) commandLine += ' ' + QuoteArgument(arg);
    const std::string workDir = options.workDir.empty() ? CaseDir() : options.workDir;
    std::string environment = EnvironmentBlock(options.environment);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = output.get();
    startup.hStdError = errors.get();
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(options.program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                        environment.data(), workDir.c_str(), &startup, &info)) {
        throw std::runtime_error("cannot start " + commandLine + " (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    const KernelHandle thread(info.hThread);
    process_.reset(info.hProcess);
    pid_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
    if (process_ && IsRunning()) Terminate();
}

bool ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (!process_) return true;
    return WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) ==
           WAIT_OBJECT_0;
}

bool ChildProcess::IsRunning() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::ExitCode() const {
    if (!process_ || IsRunning()) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
}

void ChildProcess::Terminate() {
    if (!process_) return;
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 10000);
}

std::string ChildProcess::Stdout() const {
    return ReadOrEmpty(stdoutPath_);
}
std::string ChildProcess::Stderr() const {
    return ReadOrEmpty(stderrPath_);
}

RunResult RunProgram(const LaunchOptions& options, std::chrono::milliseconds timeout) {
    ChildProcess child(options);
    if (!child.WaitForExit(timeout)) {
        child.Terminate();
        throw std::runtime_error(options.program + " did not end within " +
                                 std::to_string(timeout.count()) + " ms");
    }
    return {child.ExitCode().value_or(~DWORD{0}), child.Stdout(), child.Stderr()};
}

}  // namespace telvor::e2e
