// Address-book import: 10 000 contacts with two numbers each, as vCard and as CSV, into
// names-list rows with the shipped area-code list.
#include <benchmark/benchmark.h>

#include <string>

#include "contacts/Contacts.h"

namespace {

constexpr unsigned kContacts = 10000;

std::string Digits(unsigned i) {
    return std::to_string(1000000 + i);
}

std::string VCards() {
    std::string file;
    for (unsigned i = 0; i < kContacts; ++i)
        file += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Anrufer " + std::to_string(i) +
                ";Hans;;;\r\nFN:Hans Anrufer " + std::to_string(i) +
                "\r\nTEL;TYPE=work,voice:+49 711 " + Digits(i) + "-0\r\nTEL;TYPE=cell:+49 171 " +
                Digits(i) + "\r\nEMAIL:hans@example.org\r\nEND:VCARD\r\n";
    return file;
}

std::string Csv() {
    std::string file = "First Name,Last Name,Company,Business Phone,Home Phone,Mobile Phone\r\n";
    for (unsigned i = 0; i < kContacts; ++i)
        file += "Hans,Anrufer " + std::to_string(i) + ",\"Firma, " + std::to_string(i) +
                "\",(0711) " + Digits(i) + ",,0171/" + Digits(i) + "\r\n";
    return file;
}

const telvor::AreaCodeList& AreaCodes() {
    static const telvor::AreaCodeList list = [] {
        telvor::AreaCodeList l;
        l.LoadFromFile(TELVOR_DATA_DIR "/AreaCode.txt");
        return l;
    }();
    return list;
}

void Import(benchmark::State& state, const std::string& file, telvor::ContactFormat format) {
    for (auto _ : state) {
        const telvor::ContactImport result =
            telvor::ImportContacts(file, format, telvor::NumberPrefixes{}, AreaCodes(), {});
        if (result.added != 2 * kContacts) state.SkipWithError("numbers lost");
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * 2 * kContacts);
}

void BM_ImportVCards(benchmark::State& state) {
    Import(state, VCards(), telvor::ContactFormat::VCard);
}
void BM_ImportContactsCsv(benchmark::State& state) {
    Import(state, Csv(), telvor::ContactFormat::Csv);
}
BENCHMARK(BM_ImportVCards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportContactsCsv)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
