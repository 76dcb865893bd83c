// Caller lookup and call-list loading against the time it takes merely to read the same file.
// Files are generated once per size in a temporary folder and removed at exit.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "store/CallerIndex.h"
#include "store/posix/PosixFileAccess.h"
#include "base/StringTable.h"

namespace {

std::string Join(std::string_view text, unsigned long number) {
    std::string result(text);
    result += std::to_string(number);
    return result;
}

std::string Join(std::string_view a, unsigned long b, std::string_view c, unsigned long d) {
    std::string result = Join(a, b);
    result += Join(c, d);
    return result;
}

const std::string kRing = "\"c:\\Sounds\\ring.wav\" ";

std::filesystem::file_time_type LongAgo() {
    return std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
}

class BenchFiles {
  public:
    BenchFiles() {
        telvor::LoadStartupTexts();
        folder_ =
            std::filesystem::temp_directory_path() / Join("telvor-bench-", std::random_device{}());
        std::filesystem::create_directories(folder_);
    }
    ~BenchFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // A caller database of `count` records; lastNumber is the number of its last record, so
    // a lookup of it has to scan the whole file and finds an exact match at the end.
    const std::string& Callers(std::size_t count, std::string* lastNumber) {
        auto& entry = callers_[count];
        if (entry.path.empty()) {
            std::mt19937 random(static_cast<unsigned>(count));
            std::vector<telvor::CallerRow> rows(count);
            for (auto& row : rows) {
                row.number = Join("0", 100 + random() % 900, " ", 100000 + random() % 900000);
                row.name = Join("Anrufer ", random());
                if (random() % 4 == 0) row.programColumn = kRing;
                row.dmailColumn.assign(random() % 8 == 0 ? 1 : 0, 'X');
            }
            rows.back().number = "0999 9999999";
            entry.path = (folder_ / Join("callers-", count)).string();
            telvor::ReplaceCallers(entry.path, rows);
            // Written long ago, as a caller database usually is: the index trusts its time.
            std::filesystem::last_write_time(entry.path, LongAgo());
            entry.lastNumber = "09999999999";
        }
        if (lastNumber != nullptr) *lastNumber = entry.lastNumber;
        return entry.path;
    }

    const std::string& Calls(std::size_t count) {
        std::string& path = calls_[count];
        if (path.empty()) {
            std::mt19937 random(static_cast<unsigned>(count) + 1);
            std::vector<telvor::CallRecord> records(count);
            double time = 45000.0;
            for (auto& record : records) {
                const bool unknown = random() % 3 == 0;
                record.name =
                    unknown ? Join("0711 ", random() % 10000000) : Join("Anrufer ", random());
                record.called = Join("4711", random() % 10);
                record.time = (time += 0.01);
                record.notInDatabase = unknown;
            }
            path = (folder_ / Join("calls-", count)).string();
            telvor::ReplaceCalls(path, records);
        }
        return path;
    }

  private:
    struct CallerFile {
        std::string path;
        std::string lastNumber;
    };
    std::filesystem::path folder_;
    std::map<std::size_t, CallerFile> callers_;
    std::map<std::size_t, std::string> calls_;
};

BenchFiles& Files() {
    static BenchFiles files;
    return files;
}

// The floor: open, read every byte once in 256 KiB chunks, close.
std::size_t PlainRead(const std::string& path) {
    static std::vector<char> buffer(256 * 1024);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    std::size_t total = 0;
    if (!file) return 0;
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get())) {
        total += got;
    }
    return total;
}

void BM_CallerFilePlainRead(benchmark::State& state) {
    const std::string& path = Files().Callers(static_cast<std::size_t>(state.range(0)), nullptr);
    for (auto _ : state) benchmark::DoNotOptimize(PlainRead(path));
    state.SetBytesProcessed(state.iterations() * state.range(0) *
                            static_cast<long>(telvor::kCallerRecordSize));
}

void BM_LookupCaller(benchmark::State& state) {
    std::string number;
    const std::string& path = Files().Callers(static_cast<std::size_t>(state.range(0)), &number);
    for (auto _ : state) {
        telvor::CallerMatch match = telvor::LookupCaller(path, number);
        if (!match.exact) state.SkipWithError("the last record was not found");
        benchmark::DoNotOptimize(match);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) *
                            static_cast<long>(telvor::kCallerRecordSize));
}

// The call pipeline's lookup on a file that has not changed since the index read it: the
// file's identity, the hash probes of the number's prefixes and one record read.
void BM_IndexedLookup(benchmark::State& state) {
    std::string number;
    const std::string& path = Files().Callers(static_cast<std::size_t>(state.range(0)), &number);
    const telvor::PosixFileAccess files;
    telvor::CallerIndex index(files);
    index.Lookup(path, number);
    for (auto _ : state) {
        telvor::CallerMatch match = index.Lookup(path, number);
        if (!match.exact) state.SkipWithError("the last record was not found");
        benchmark::DoNotOptimize(match);
    }
    if (index.Builds() != 1) state.SkipWithError("the unchanged file was read again");
}

// The first lookup after the file changed: its write time moves before every lookup (not
// timed), so each one reads the numbers of the whole file again.
void BM_IndexedLookupAfterChange(benchmark::State& state) {
    std::string number;
    const std::string& path = Files().Callers(static_cast<std::size_t>(state.range(0)), &number);
    const telvor::PosixFileAccess files;
    telvor::CallerIndex index(files);
    const auto longAgo = LongAgo();
    long changes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::last_write_time(path, longAgo + std::chrono::microseconds(++changes));
        state.ResumeTiming();
        telvor::CallerMatch match = index.Lookup(path, number);
        if (!match.exact) state.SkipWithError("the last record was not found");
        benchmark::DoNotOptimize(match);
    }
    if (index.Builds() != static_cast<std::size_t>(changes)) {
        state.SkipWithError("a changed file was not read again");
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) *
                            static_cast<long>(telvor::kCallerRecordSize));
}

void BM_CallFilePlainRead(benchmark::State& state) {
    const std::string& path = Files().Calls(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(PlainRead(path));
    state.SetBytesProcessed(state.iterations() * state.range(0) *
                            static_cast<long>(telvor::kCallRecordSize));
}

void BM_LoadCalls(benchmark::State& state) {
    const std::string& path = Files().Calls(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto calls = telvor::LoadCalls(path);
        if (calls.size() != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("wrong record count");
        }
        benchmark::DoNotOptimize(calls);
        // Freeing the list is the caller's business, not part of loading it.
        state.PauseTiming();
        calls = {};
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) *
                            static_cast<long>(telvor::kCallRecordSize));
}

// What the configuration dialog's call list does: every record decoded and handed to the
// list without an intermediate copy of its texts.
void BM_ReadCalls(benchmark::State& state) {
    const std::string& path = Files().Calls(static_cast<std::size_t>(state.range(0)));
    struct Sum final : telvor::CallSink {
        std::size_t count = 0, text = 0;
        void Add(const telvor::CallView& call) override {
            ++count;
            text += call.name.size() + call.called.size() + (call.notInDatabase ? 1 : 0);
        }
    };
    for (auto _ : state) {
        Sum sum;
        telvor::ReadCalls(path, sum);
        if (sum.count != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("wrong record count");
        }
        benchmark::DoNotOptimize(sum.text);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) *
                            static_cast<long>(telvor::kCallRecordSize));
}

// Each read is registered right before the lookup of the same file, so both see it warm.
BENCHMARK(BM_CallerFilePlainRead)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LookupCaller)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexedLookup)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IndexedLookupAfterChange)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CallFilePlainRead)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadCalls)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadCalls)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
