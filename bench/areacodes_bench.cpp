// Loading the shipped area-code file and looking numbers up in it. The list is searched line
// by line in file order, so the cost of a lookup grows with the position of its line: the
// cases run from an early line to a number that no line matches (a scan of the whole file).
#include <benchmark/benchmark.h>

#include <string>

#include "numbers/Numbers.h"
#include "base/StringTable.h"

namespace {

const std::string kShippedFile = std::string(TELVOR_DATA_DIR) + "/AreaCode.txt";

const telvor::AreaCodeList& Shipped() {
    static const telvor::AreaCodeList list = [] {
        telvor::LoadStartupTexts();
        telvor::AreaCodeList loaded;
        loaded.LoadFromFile(kShippedFile);
        return loaded;
    }();
    return list;
}

void BM_LoadAreaCodes(benchmark::State& state) {
    for (auto _ : state) {
        telvor::AreaCodeList list;
        if (!list.LoadFromFile(kShippedFile)) state.SkipWithError("cannot read AreaCode.txt");
        benchmark::DoNotOptimize(list.Lines().data());
    }
    state.counters["lines"] = static_cast<double>(Shipped().Lines().size());
}
BENCHMARK(BM_LoadAreaCodes)->Unit(benchmark::kMillisecond);

void BM_FindTown(benchmark::State& state, char marker, const char* digits, bool found) {
    const telvor::AreaCodeList& list = Shipped();
    if (list.FindTown(marker, digits, "0").found != found) {
        state.SkipWithError("unexpected lookup result; is data/AreaCode.txt the shipped one?");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(list.FindTown(marker, digits, "0"));
}
BENCHMARK_CAPTURE(BM_FindTown, mobile_0171, 'N', "1711234567", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindTown, hamburg_040, 'N', "40123456", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindTown, stuttgart_0711, 'N', "711123456", true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindTown, cham_09971, 'N', "99711234", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindTown, national_unknown, 'N', "1681234", false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindTown, uk_0044, 'I', "4420712345", true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindTown, international_unknown, 'I', "999123", false)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
