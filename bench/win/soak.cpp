// Soak run of the monitor under Wine: N calls (default 10 000) rung through the line simulator
// into one Telvor.exe, mixing known, prefix-matched, unknown and number-less callers, held and
// ignored calls, clearings by the line and rejects from the caller window, and caller windows
// closed at once or left open for a while. Afterwards every call must be in the protocol file
// and in the call list exactly once, and the monitor's handles, GDI and USER objects and
// private bytes must not have grown beyond a fixed allowance since the warm-up; memory may
// also grow by a share per recorded call and by what the platform itself keeps of each
// caller window, measured in this process. Prints the figures; exit code 0 when everything
// held, 1 otherwise. Run through scripts/soak.
#include <windows.h>
// after windows.h, which they need
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <map>
#include <optional>
#include <psapi.h>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "CapiSimClient.h"
#include "PlatformKeep.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/ChildProcess.h"
#include "support/ProcessFigures.h"
#include "support/WindowProbe.h"

namespace {

using namespace telvor;
using namespace telvor::e2e;
using namespace telvor::test;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr char kCallerTitle[] = "Telvor - Anrufer";
constexpr unsigned kWaitMs = 60000;
// Windows left open are closed together after this many calls.
constexpr unsigned kCloseOpenWindowsEvery = 40;

// What may remain after the warm-up without counting as a leak: a few objects that the
// system or the program create lazily once (fonts, DDE and sound bits), and heap the allocator
// keeps. The dialog's call list keeps a row per recorded call by design; its share is allowed
// for separately, per call.
constexpr long long kHandleAllowance = 16;
constexpr long long kGdiAllowance = 16;
constexpr long long kUserAllowance = 16;
constexpr long long kPrivateAllowance = 4ll << 20;
constexpr long long kPrivatePerRecordedCall = 256;
// What the platform keeps of each destroyed caller window is measured on top of that (see
// PlatformKeep.h), over this many windows.
constexpr unsigned kPlatformWindows = 2000;

struct Figures {
    long long handles = -1;
    long long gdi = -1;
    long long user = -1;
    long long privateBytes = -1;
    long long windows = -1;
    long long workingSet = -1;
};

struct WindowCounter {
    DWORD pid;
    long long count = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCounter*>(param)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND w, LPARAM param) {
    auto& c = *reinterpret_cast<WindowCounter*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != c.pid) return TRUE;
    ++c.count;
    EnumChildWindows(w, CountChild, param);
    return TRUE;
}

// Windows of one process, top-level and child: the USER objects that a leak would pile up.
long long WindowCount(DWORD pid) {
    WindowCounter counter{pid};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counter));
    return counter.count;
}

Figures Measure(HANDLE process, DWORD pid) {
    Figures f;
    f.handles = test::HandleCount(pid);
    f.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    f.user = GetGuiResources(process, GR_USEROBJECTS);
    f.windows = WindowCount(pid);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        f.privateBytes = static_cast<long long>(memory.PrivateUsage);
        f.workingSet = static_cast<long long>(memory.WorkingSetSize);
    }
    return f;
}

void Print(const char* label, const Figures& f) {
    std::printf(
        "%-10s handles %6lld  GDI %5lld  USER %5lld  windows %5lld  private %10lld  "
        "working set %10lld bytes\n",
        label, f.handles, f.gdi, f.user, f.windows, f.privateBytes, f.workingSet);
    std::fflush(stdout);
}

// The kinds of call, in a fixed rotation.
enum class Kind {
    KnownHeldCleared,      // known caller, held, cleared by the line, window closed
    UnknownHeldRejected,   // unknown caller, held, "Abweisen", window closed
    UnknownIgnored,        // MSN without display: ignored at once, no window
    NoNumberHeldLeftOpen,  // no number, held, cleared, window left open
    PrefixHeldCleared,     // caller matched by prefix, held, cleared, window closed
    KnownIgnored,          // known caller on the MSN without display
};
constexpr Kind kRotation[] = {Kind::KnownHeldCleared,  Kind::UnknownHeldRejected,
                              Kind::UnknownIgnored,    Kind::NoNumberHeldLeftOpen,
                              Kind::PrefixHeldCleared, Kind::KnownIgnored};

bool Shown(Kind k) {
    return k != Kind::UnknownIgnored && k != Kind::KnownIgnored;
}

// A unique seven-digit local number per unknown call, so that its protocol line can be found.
std::string UnknownLocal(unsigned call) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%07u", 3000000 + call);
    return digits;
}

class Soak {
  public:
    explicit Soak(unsigned calls) : calls_(calls) {}

    int Run() {
        folder_ = InstallMonitor("soak");
        WriteFileBytes(JoinPath(folder_, "AreaCode.txt"), "N711\tStuttgart\r\nN30\tBerlin\r\n");
        std::vector<CallerRow> callers{{"0711 123456", "Hans Muster", "", ""},
                                       {"030", "Anruf aus Berlin", "", ""}};
        if (!ReplaceCallers(JoinPath(folder_, "CallerList.ddb"), callers))
            throw std::runtime_error("cannot write the caller database");
        WriteSetting("MSNs\\00000000", "Number", "4711");
        WriteSetting("MSNs\\00000000", "Name", "Büro");
        WriteSetting("MSNs\\00000001", "Number", "4712");
        for (const char* service : {"Audio", "Data", "Fax23", "Fax4", "Video", "Else"})
            WriteSetting("MSNs\\00000001\\Show", service, "0");
        WriteSetting("Settings", "DMWhenMessage", "3");
        // A returning user: a first start would greet with a modal box and hold the calls back.
        WriteSetting("Settings", "Version", "2.00");

        ChildProcess monitor(LaunchOptions(JoinPath(folder_, "Telvor.exe"))
                                 .In(folder_)
                                 .Env("CAPISIM_CONTROLLERS", "1")
                                 .OutputAs("telvor-soak"));
        if (!sim_.Connect(120000)) throw std::runtime_error("simulator: " + sim_.LastError());
        if (!sim_.WaitForPut(1, 120000)) throw std::runtime_error("the monitor did not listen");
        const HWND main = WaitForTopLevelWindow("TTelvorMainForm", "TelvorServer", 120s);
        if (!main) throw std::runtime_error("no main window");

        const unsigned warmUp = std::min(200u, std::max(1u, calls_ / 10));
        Figures baseline;
        const Clock::time_point start = Clock::now();
        for (unsigned call = 0; call < calls_; ++call) {
            Ring(call);
            if ((call + 1) % kCloseOpenWindowsEvery == 0) CloseLeftOpen();
            if (call + 1 == warmUp) {
                CloseLeftOpen();
                Sleep(500);
                baseline = Measure(monitor.Handle(), monitor.Pid());
                Print("baseline", baseline);
            }
            if ((call + 1) % 1000 == 0) {
                std::printf("%u calls, %.0f s\n", call + 1,
                            std::chrono::duration<double>(Clock::now() - start).count());
                Print("now", Measure(monitor.Handle(), monitor.Pid()));
            }
        }
        CloseLeftOpen();
        Sleep(1000);
        const Figures end = Measure(monitor.Handle(), monitor.Pid());
        Print("end", end);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%u calls in %.0f s (%.1f ms per call)\n", calls_, seconds,
                    1000.0 * seconds / calls_);

        PostMessageA(main, WM_CLOSE, 0, 0);
        if (!monitor.WaitForExit(120s)) {
            monitor.Terminate();
            Fail("the monitor did not end on WM_CLOSE");
        }
        CheckRecords();
        // Measured once the monitor is gone, so that nothing else builds windows meanwhile.
        const long long platform =
            soak::PlatformBytesPerCallerWindow(JoinPath(folder_, "Telvor.exe"), kPlatformWindows);
        std::printf("platform keeps %lld bytes per caller window\n", platform);
        CheckGrowth(baseline, end, calls_ - warmUp, platform);
        std::printf("soak: %s\n", failures_ == 0 ? "passed" : "FAILED");
        return failures_ == 0 ? 0 : 1;
    }

  private:
    void Fail(const std::string& what) {
        ++failures_;
        std::printf("FAIL: %s\n", what.c_str());
        std::fflush(stdout);
    }

    bool WaitForPut(std::uint8_t command, std::uint8_t sub, std::uint32_t plci,
                    std::optional<std::uint16_t> word12 = {}) {
        return sim_.WaitForPut(
            [&](const capisim::Bytes& m) {
                return capisim::Command(m) == command && capisim::Subcommand(m) == sub &&
                       capisim::Plci(m) == plci &&
                       (!word12 || (m.size() >= 14 && capisim::Word(m, 12) == *word12));
            },
            kWaitMs);
    }

    // The caller window of the call just rung: visible, titled as a pending call, and not
    // one seen before.
    HWND NewCallerWindow() {
        const Clock::time_point bound = Clock::now() + std::chrono::milliseconds(kWaitMs);
        while (Clock::now() < bound) {
            HWND found = nullptr;
            for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, kCallerTitle); w;
                 w = FindWindowExA(nullptr, w, nullptr, kCallerTitle)) {
                if (IsWindowVisible(w) && !open_.count(w)) found = w;
            }
            if (found) return found;
            Sleep(2);
        }
        return nullptr;
    }

    void CloseWindow(HWND window) {
        if (!PressButton(window, "&Schließen")) PostMessageA(window, WM_CLOSE, 0, 0);
        if (!WaitForWindowGone(window, 30s)) Fail("a caller window stayed open");
    }

    void CloseLeftOpen() {
        for (HWND w : open_)
            if (IsWindow(w)) CloseWindow(w);
        open_.clear();
    }

    void Ring(unsigned call) {
        const Kind kind = kRotation[call % std::size(kRotation)];
        const auto plci = static_cast<std::uint32_t>(0x10000 + call);
        const bool shown = Shown(kind);
        capisim::Bytes calling = capisim::EmptyStruct();
        switch (kind) {
            case Kind::KnownHeldCleared:
            case Kind::KnownIgnored:
                calling = capisim::CallingNumberStruct(0x21, 0x80, "711123456");
                ++known_;
                break;
            case Kind::UnknownHeldRejected:
            case Kind::UnknownIgnored:
                calling = capisim::CallingNumberStruct(0x21, 0x80, "711" + UnknownLocal(call));
                unknown_.push_back(UnknownLocal(call));
                break;
            case Kind::PrefixHeldCleared:
                calling = capisim::CallingNumberStruct(0x21, 0x80, "30" + UnknownLocal(call));
                ++prefix_;
                break;
            case Kind::NoNumberHeldLeftOpen:
                break;
        }
        sim_.ClearLog();  // the log is read whole on every wait: keep it short
        if (!sim_.OfferConnectInd(plci, 1, capisim::NumberStruct(0x81, shown ? "4711" : "4712"),
                                  calling, capisim::EmptyStruct(), capisim::EmptyStruct()))
            throw std::runtime_error("offer: " + sim_.LastError());
        if (!shown) {
            // Ignored: the line clears the call for the monitor, which answers that.
            if (!WaitForPut(capisim::kConnect, capisim::kResp, plci, 1))
                return Fail("call " + std::to_string(call) + " was not ignored");
            if (!WaitForPut(capisim::kDisconnect, capisim::kResp, plci))
                Fail("ignored call " + std::to_string(call) + " was not cleared");
            return;
        }
        const HWND window = NewCallerWindow();
        if (!window) return Fail("call " + std::to_string(call) + " was not shown");
        open_.insert(window);
        if (!WaitForPut(capisim::kAlert, capisim::kReq, plci))
            return Fail("call " + std::to_string(call) + " was not held");
        if (kind == Kind::UnknownHeldRejected) {
            // The button is enabled once the hold is in force.
            const Clock::time_point bound = Clock::now() + 30s;
            while (!PressButton(window, "&Abweisen") && Clock::now() < bound) Sleep(2);
            // The window asks first; "&Ja" rejects.
            HWND question = nullptr;
            while (!(question = FindWindowA("#32770", "Bestätigen")) && Clock::now() < bound)
                Sleep(2);
            if (!question || !PressButton(question, "&Ja"))
                return Fail("call " + std::to_string(call) + ": no question to reject");
            WaitForWindowGone(question, 30s);
            if (!WaitForPut(capisim::kConnect, capisim::kResp, plci, 0))
                Fail("call " + std::to_string(call) + " was not rejected");
        } else {
            sim_.OfferDisconnectInd(plci, 0x3490);
        }
        if (!WaitForPut(capisim::kDisconnect, capisim::kResp, plci))
            Fail("call " + std::to_string(call) + " was not cleared");
        if (kind != Kind::NoNumberHeldLeftOpen) {
            open_.erase(window);
            if (IsWindow(window)) CloseWindow(window);
        }
    }

    void CheckRecords() {
        const std::optional<std::string> log = ReadFileBytes(JoinPath(folder_, "Telvor.log"));
        if (!log) return Fail("no protocol file");
        std::vector<std::string> lines;
        for (std::size_t at = 0; at < log->size();) {
            std::size_t end = log->find("\r\n", at);
            if (end == std::string::npos) end = log->size();
            lines.push_back(log->substr(at, end - at));
            at = end + 2;
        }
        std::printf("protocol lines %zu, calls %u\n", lines.size(), calls_);
        if (lines.size() != calls_) Fail("the protocol file does not hold one line per call");
        // Each unknown caller's number exactly once.
        std::map<std::string, unsigned> seen;
        for (const std::string& line : lines) {
            for (std::size_t p = 0; p + 7 <= line.size(); ++p) {
                if (line.compare(p, 2, "30") != 0) continue;
                const bool bounded =
                    (p == 0 || !std::isdigit(static_cast<unsigned char>(line[p - 1]))) &&
                    (p + 7 == line.size() ||
                     !std::isdigit(static_cast<unsigned char>(line[p + 7])));
                if (bounded) ++seen[line.substr(p, 7)];
            }
        }
        unsigned wrong = 0;
        for (const std::string& number : unknown_)
            if (seen[number] != 1) ++wrong;
        if (wrong) Fail(std::to_string(wrong) + " unknown callers not recorded exactly once");
        const auto count = [&](const char* text) {
            return static_cast<unsigned>(std::count_if(lines.begin(), lines.end(), [&](auto& l) {
                return l.find(text) != std::string::npos;
            }));
        };
        if (count("Hans Muster") != known_) Fail("known callers not recorded exactly once");
        if (count("Anruf aus Berlin") != prefix_) Fail("prefix callers not recorded exactly once");

        bool opened = false;
        const std::vector<CallRecord> records = LoadCalls(JoinPath(folder_, "Calls.ddb"), &opened);
        if (!opened) return Fail("no call list");
        std::printf("call list records %zu\n", records.size());
        if (records.size() != calls_) Fail("the call list does not hold one record per call");
    }

    // Every call builds a caller window, shown or not.
    void CheckGrowth(const Figures& base, const Figures& end, unsigned callsSinceBase,
                     long long platformPerWindow) {
        const auto check = [&](const char* what, long long before, long long after,
                               long long allowance) {
            std::printf("growth %-8s %+lld (allowed %lld)\n", what, after - before, allowance);
            if (before <= 0 && after <= 0 && allowance > 0)
                std::printf("  (%s cannot be measured here)\n", what);
            else if (after - before > allowance)
                Fail(std::string(what) + " grew beyond the allowance");
        };
        check("handles", base.handles, end.handles, kHandleAllowance);
        check("GDI", base.gdi, end.gdi, kGdiAllowance);
        check("USER", base.user, end.user, kUserAllowance);
        check("windows", base.windows, end.windows, 0);
        // Where private bytes are not reported (Wine), the working set stands in for them.
        const bool havePrivate = base.privateBytes > 0 && end.privateBytes > 0;
        check(havePrivate ? "private" : "working set",
              havePrivate ? base.privateBytes : base.workingSet,
              havePrivate ? end.privateBytes : end.workingSet,
              kPrivateAllowance + (kPrivatePerRecordedCall + platformPerWindow) * callsSinceBase);
    }

    unsigned calls_;
    std::string folder_;
    capisim::Client sim_;
    std::set<HWND> open_;
    std::vector<std::string> unknown_;
    unsigned known_ = 0;
    unsigned prefix_ = 0;
    unsigned failures_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const unsigned calls =
        argc > 1 ? static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)) : 10000;
    if (calls == 0) {
        std::fprintf(stderr, "usage: soak [calls]\n");
        return 2;
    }
    try {
        return Soak(calls).Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "soak: %s\n", e.what());
        return 1;
    }
}
