// Text import of the caller database: parsing a file of 100 000 lines into names-list rows.
#include <benchmark/benchmark.h>

#include <string>

#include "store/TextImport.h"

namespace {

std::string ImportText(unsigned lines) {
    std::string text;
    for (unsigned i = 0; i < lines; ++i)
        text += "0711 " + std::to_string(i) + ", Anrufer " + std::to_string(i) +
                ", c:\\klang\\ring.wav, -a -b\r\n";
    return text;
}

void BM_ParseImport(benchmark::State& state) {
    const std::string text = ImportText(static_cast<unsigned>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(telvor::ParseCallerImport(text, ", "));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParseImport)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
