// Ring-to-window time of the monitor under Wine: from the line simulator queuing a CONNECT_IND
// to the caller window being visible, with caller databases of 1 000 and 100 000 records and
// a call list of 100 000 records. Each configuration gets its own installed monitor; every
// call is closed and cleared before the next one rings. Prints one table row per
// configuration. With NCID clients connected it also times the CID line at a client: from the
// offer, and after the monitor's answer to the line (the line goes out before the answer, so
// that figure is mostly negative). Run through scripts/bench-wine (it needs a case folder and
// a display).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
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
};

struct Figures {
    std::vector<double> ringToWindowMs;
    std::vector<double> offerMs;        // the control pipe's share: the offer request itself
    std::vector<double> ringToCidMs;    // the first NCID client's CID line, from the offer
    std::vector<double> answerToCidMs;  // the same, after the monitor's answer was seen
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

    // The last record, which a scan of the file would reach last.
    const std::string calling = CallerNumber(config.callers - 1).substr(1);
    const std::string digits = calling.substr(0, 3) + calling.substr(4);
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
        HWND window = nullptr;
        while (!(window = VisibleCallerWindow())) {
            if (Clock::now() - start > bound) throw std::runtime_error("no caller window");
            Sleep(1);
        }
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
        PressButton(window, "&Schließen");
        if (!WaitForWindowGone(window, 30s)) throw std::runtime_error("window stayed");
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

}  // namespace

int main() {
    WinsockSession winsock;
    const Configuration configs[] = {
        {"1k callers, 100k calls", 1000, 100000},
        {"100k callers, 100k calls", 100000, 100000},
        {"1k callers, 1 NCID client", 1000, 100000, 1},
        {"1k callers, 32 NCID clients", 1000, 100000, 32},
    };
    std::vector<double> medians;
    std::vector<std::pair<std::string, Figures>> ncid;
    std::printf("%-28s %5s %10s %10s %10s %10s %12s\n", "configuration", "calls", "median ms",
                "min ms", "p90 ms", "max ms", "offer ms");
    try {
        int index = 0;
        for (const Configuration& config : configs) {
            const Figures f = Measure(config, index++);
            const double median = Percentile(f.ringToWindowMs, 0.5);
            medians.push_back(median);
            if (config.ncidClients) ncid.emplace_back(config.label, f);
            std::printf("%-28s %5zu %10.1f %10.1f %10.1f %10.1f %12.1f\n", config.label,
                        f.ringToWindowMs.size(), median, Percentile(f.ringToWindowMs, 0.0),
                        Percentile(f.ringToWindowMs, 0.9), Percentile(f.ringToWindowMs, 1.0),
                        Percentile(f.offerMs, 0.5));
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ring_to_window_bench: %s\n", e.what());
        return 1;
    }
    for (const auto& [label, f] : ncid)
        std::printf("%-28s CID line: median %.1f ms from the offer, %.1f ms after the answer\n",
                    label.c_str(), Percentile(f.ringToCidMs, 0.5),
                    Percentile(f.answerToCidMs, 0.5));
    std::printf("ratio 32 NCID clients / none (ring to window, medians): %.2f (target <= 1.05)\n",
                medians[3] / medians[0]);
    std::printf("ratio 100k/1k callers (medians): %.2f\n", medians[1] / medians[0]);
    std::printf("target: median <= 100 ms at 100k callers, ratio <= 1.1: %s\n",
                medians[1] <= 100.0 && medians[1] / medians[0] <= 1.1 ? "met" : "missed");
    return 0;
}
