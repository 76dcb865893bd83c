// Ring-to-window time of the monitor under Wine: from the line simulator queuing a CONNECT_IND
// to the caller window being visible, with caller databases of 1 000 and 100 000 records and
// a call list of 100 000 records. Each configuration gets its own installed monitor; every
// call is closed and cleared before the next one rings. Prints one table row per
// configuration. With NCID clients connected it also times the CID line at a client: from the
// offer, and after the monitor's answer to the line (the line goes out before the answer, so
// that figure is mostly negative). With the monitor also taking calls from an NCID server (a
// fake one of the bench), each ring is followed by the same caller's CID line, timed from its
// sending to the caller window. Run through scripts/bench-wine (it needs a case folder and a
// display); an argument runs only the configurations whose label contains it.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "CapiSimClient.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/ChildProcess.h"
#include "support/FakeNcidServer.h"
#include "support/NcidTestClient.h"
#include "support/WindowProbe.h"

namespace {

using namespace telvor;
using namespace telvor::e2e;
using namespace telvor::test;
using Clock = std::chrono::steady_clock;

constexpr int kWarmUpCalls = 3;
constexpr int kMeasuredCalls = 25;
constexpr char kCallerTitle[] = "Telvor - Anrufer";

struct Configuration {
    const char* label;
    std::size_t callers;
    std::size_t calls;
    int ncidClients = 0;
    bool ncidSource = false;  // calls also from an NCID server: CallSource "both"
};

struct Figures {
    std::vector<double> ringToWindowMs;
    std::vector<double> offerMs;        // the control pipe's share: the offer request itself
    std::vector<double> ringToCidMs;    // the first NCID client's CID line, from the offer
    std::vector<double> answerToCidMs;  // the same, after the monitor's answer was seen
    std::vector<double> cidToWindowMs;  // a CID line from the NCID server to the caller window
    std::vector<double> sendMs;         // the bench's share: sending that line
};

// The first client's CID lines, stamped as they arrive, read on a thread of their own.
class CidStamps {
  public:
    explicit CidStamps(NcidTestClient& client)
        : reader_([this, &client] {
              for (;;) {
                  const std::string line = client.ReadThrough("\r\n");
                  if (line.empty() && stop_) return;
                  if (line.rfind("CID: ", 0) != 0) continue;
                  std::lock_guard<std::mutex> lock(mutex_);
                  stamps_.push_back(Clock::now());
              }
          }) {}
    ~CidStamps() {
        stop_ = true;
        reader_.join();  // the client's reads are bounded
    }
    // The stamp of the `n`-th CID line, waiting at most 10 s for it.
    std::optional<Clock::time_point> Stamp(std::size_t n) {
        for (int waited = 0; waited < 10000; waited += 1, Sleep(1)) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stamps_.size() > n) return stamps_[n];
        }
        return std::nullopt;
    }

  private:
    std::mutex mutex_;
    std::vector<Clock::time_point> stamps_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

std::string CallerNumber(std::size_t i) {
    return "0711 " + std::to_string(200000 + i);
}

void WriteCallers(const std::string& path, std::size_t count) {
    std::vector<CallerRow> rows;
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        rows.push_back({CallerNumber(i), "Anrufer " + std::to_string(i), "", ""});
    if (!ReplaceCallers(path, rows)) throw std::runtime_error("cannot write " + path);
}

void WriteCalls(const std::string& path, std::size_t count) {
    std::vector<CallRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        records.push_back({"Anrufer " + std::to_string(i), "Büro (4711)",
                           46000.0 + static_cast<double>(i) / 1000.0, i % 3 == 0});
    if (count && !ReplaceCalls(path, records)) throw std::runtime_error("cannot write " + path);
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

HWND VisibleCallerWindow() {
    HWND window = FindWindowA(nullptr, kCallerTitle);
    return window && IsWindowVisible(window) ? window : nullptr;
}

HWND WaitForCallerWindow(Clock::time_point start, Clock::duration bound) {
    HWND window = nullptr;
    while (!(window = VisibleCallerWindow())) {
        if (Clock::now() - start > bound) throw std::runtime_error("no caller window");
        Sleep(1);
    }
    return window;
}

void CloseCallerWindow(HWND window) {
    PressButton(window, "&Schließen");
    if (!WaitForWindowGone(window, 30s)) throw std::runtime_error("window stayed");
}

bool WaitForPut(capisim::Client& sim, std::uint8_t command, std::uint8_t sub, std::uint32_t plci,
                unsigned timeoutMs) {
    return sim.WaitForPut(
        [&](const capisim::Bytes& m) {
            return capisim::Command(m) == command && capisim::Subcommand(m) == sub &&
                   capisim::Plci(m) == plci;
        },
        timeoutMs);
}

Figures Measure(const Configuration& config, int index) {
    const std::string folder = InstallMonitor("bench" + std::to_string(index));
    WriteFileBytes(JoinPath(folder, "AreaCode.txt"), "N711\tStuttgart\r\nN30\tBerlin\r\n");
    WriteCallers(JoinPath(folder, "CallerList.ddb"), config.callers);
    WriteCalls(JoinPath(folder, "Calls.ddb"), config.calls);
    WriteSetting("MSNs\\00000000", "Number", "4711");
    WriteSetting("MSNs\\00000000", "Name", "Büro");
    // A returning user: a first start would greet with the configuration dialog.
    WriteSetting("Settings", "Version", "2.00");
    // Ignore every call (no hold) and never wait for the messaging program.
    WriteSetting("Settings", "Alert", "0");
    WriteSetting("Settings", "DMWhenMessage", "3");
    WriteSetting("Settings", "NcidServer", config.ncidClients ? "1" : "0");
    const int port = FreeTcpPort();
    WriteSetting("Settings", "NcidPort", std::to_string(port));
    std::optional<FakeNcidServer> server;
    if (config.ncidSource) {
        server.emplace();
        WriteSetting("Settings", "CallSource", "both");
        WriteSetting("Settings", "NcidServerHost", "127.0.0.1");
        WriteSetting("Settings", "NcidServerPort", std::to_string(server->Port()));
    }

    ChildProcess monitor(LaunchOptions(JoinPath(folder, "Telvor.exe"))
                             .In(folder)
                             .Env("CAPISIM_CONTROLLERS", "1")
                             .OutputAs("telvor" + std::to_string(index)));
    capisim::Client sim;
    if (!sim.Connect(60000)) throw std::runtime_error("simulator: " + sim.LastError());
    if (!sim.WaitForPut(1, 120000)) throw std::runtime_error("the monitor did not listen");
    const HWND main = WaitForTopLevelWindow("TTelvorMainForm", "TelvorServer", 120s);
    if (!main) throw std::runtime_error("no main window");
    std::vector<std::unique_ptr<NcidTestClient>> clients;
    for (int i = 0; i < config.ncidClients; ++i) {
        auto client = std::make_unique<NcidTestClient>(port);
        for (int tries = 0; !client->Connected() && tries < 600; ++tries, Sleep(200))
            client = std::make_unique<NcidTestClient>(port);
        if (client->ReadThrough("300 End of connection startup\r\n").empty())
            throw std::runtime_error("no NCID start-up");
        clients.push_back(std::move(client));
    }
    std::optional<CidStamps> cids;
    if (!clients.empty()) cids.emplace(*clients.front());
    if (server && !server->WaitForStartup(1, 120s))
        throw std::runtime_error("the monitor did not connect to the NCID server");

    // The last record, which a scan of the file would reach last.
    const std::string calling = CallerNumber(config.callers - 1).substr(1);
    const std::string digits = calling.substr(0, 3) + calling.substr(4);
    const std::string cidLine =
        "CID: *DATE*12082026*TIME*1200*LINE*4711*NMBR*0" + digits + "*MESG*NONE*NAME*Server*\r\n";
    Figures figures;
    for (int call = 0; call < kWarmUpCalls + kMeasuredCalls; ++call) {
        const auto plci = static_cast<std::uint32_t>(0x1000 + call);
        // The first call also waits for the start-up to finish (the call list is loaded then).
        const auto bound = call == 0 ? 600s : 60s;
        const Clock::time_point start = Clock::now();
        if (!sim.OfferConnectInd(plci, 1, capisim::NumberStruct(0x81, "4711"),
                                 capisim::CallingNumberStruct(0x21, 0x80, digits),
                                 capisim::EmptyStruct(), capisim::EmptyStruct()))
            throw std::runtime_error("offer: " + sim.LastError());
        const Clock::time_point offered = Clock::now();
        const HWND window = WaitForCallerWindow(start, bound);
        const Clock::time_point visible = Clock::now();
        if (!WaitForPut(sim, capisim::kConnect, capisim::kResp, plci, 60000))
            throw std::runtime_error("call not answered");
        const Clock::time_point answered = Clock::now();
        if (call >= kWarmUpCalls) {
            figures.ringToWindowMs.push_back(Ms(visible - start));
            figures.offerMs.push_back(Ms(offered - start));
        }
        if (cids) {
            const auto cid = cids->Stamp(static_cast<std::size_t>(call));
            if (!cid) throw std::runtime_error("no CID line");
            if (call >= kWarmUpCalls) {
                figures.ringToCidMs.push_back(Ms(*cid - start));
                figures.answerToCidMs.push_back(Ms(*cid - answered));
            }
        }
        // Quiet before the next call: answered, cleared, window closed.
        if (!WaitForPut(sim, capisim::kDisconnect, capisim::kResp, plci, 60000))
            throw std::runtime_error("call not cleared");
        CloseCallerWindow(window);
        if (server) {
            const Clock::time_point sent = Clock::now();
            if (!server->Send(cidLine)) throw std::runtime_error("the NCID client has gone");
            const Clock::time_point sendDone = Clock::now();
            const HWND shown = WaitForCallerWindow(sent, 60s);
            const Clock::time_point cidVisible = Clock::now();
            if (call >= kWarmUpCalls) {
                figures.cidToWindowMs.push_back(Ms(cidVisible - sent));
                figures.sendMs.push_back(Ms(sendDone - sent));
            }
            CloseCallerWindow(shown);
        }
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (!monitor.WaitForExit(120s)) monitor.Terminate();
    return figures;
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

// One table row: the median, min, p90 and max of `ms`, and the median of the bench's own share.
void PrintRow(const std::string& label, const std::vector<double>& ms,
              const std::vector<double>& own) {
    std::printf("%-28s %5zu %10.1f %10.1f %10.1f %10.1f %12.1f\n", label.c_str(), ms.size(),
                Percentile(ms, 0.5), Percentile(ms, 0.0), Percentile(ms, 0.9), Percentile(ms, 1.0),
                Percentile(own, 0.5));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    WinsockSession winsock;
    const Configuration configs[] = {
        {"1k callers, 100k calls", 1000, 100000},
        {"100k callers, 100k calls", 100000, 100000},
        {"1k callers, 1 NCID client", 1000, 100000, 1},
        {"1k callers, 32 NCID clients", 1000, 100000, 32},
        {"100k callers, line + NCID", 100000, 100000, 0, true},
    };
    const std::string only = argc > 1 ? argv[1] : "";
    std::map<std::string, Figures> results;
    std::printf("%-28s %5s %10s %10s %10s %10s %12s\n", "configuration", "calls", "median ms",
                "min ms", "p90 ms", "max ms", "offer ms");
    try {
        int index = 0;
        for (const Configuration& config : configs) {
            if (std::string(config.label).find(only) == std::string::npos) continue;
            const Figures& f = results[config.label] = Measure(config, index++);
            PrintRow(config.label, f.ringToWindowMs, f.offerMs);
            if (config.ncidSource) PrintRow("  its CID lines (send ms)", f.cidToWindowMs, f.sendMs);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ring_to_window_bench: %s\n", e.what());
        return 1;
    }
    const auto median = [&](const char* label) {
        const auto found = results.find(label);
        return found == results.end() ? 0.0 : Percentile(found->second.ringToWindowMs, 0.5);
    };
    for (const Configuration& config : configs) {
        const auto found = results.find(config.label);
        if (found == results.end() || !config.ncidClients) continue;
        std::printf("%-28s CID line: median %.1f ms from the offer, %.1f ms after the answer\n",
                    config.label, Percentile(found->second.ringToCidMs, 0.5),
                    Percentile(found->second.answerToCidMs, 0.5));
    }
    const double none = median("1k callers, 100k calls");
    const double many = median("100k callers, 100k calls");
    if (none > 0 && median("1k callers, 32 NCID clients") > 0)
        std::printf(
            "ratio 32 NCID clients / none (ring to window, medians): %.2f (target <= 1.05)\n",
            median("1k callers, 32 NCID clients") / none);
    if (none > 0 && many > 0) {
        std::printf("ratio 100k/1k callers (medians): %.2f\n", many / none);
        std::printf("target: median <= 100 ms at 100k callers, ratio <= 1.1: %s\n",
                    many <= 100.0 && many / none <= 1.1 ? "met" : "missed");
    }
    if (const auto found = results.find("100k callers, line + NCID"); found != results.end()) {
        const double ring = Percentile(found->second.ringToWindowMs, 0.5);
        const double cid = Percentile(found->second.cidToWindowMs, 0.5);
        std::printf("ratio CID line / ring, same monitor (medians): %.2f (target <= 1.2): %s\n",
                    cid / ring, cid <= 1.2 * ring ? "met" : "missed");
    }
    return 0;
}
