// The caller database file: reading, the longest-prefix lookup, and a write of what was read.
#include <algorithm>
#include <string>

#include "Harnesses.h"
#include "numbers/Numbers.h"
#include "store/CallerDatabase.h"
#include "store/CallerKeys.h"
#include "base/StringTable.h"

namespace telvor::fuzz {

void CallerDatabase(Input data) {
    static const bool texts = (LoadStartupTexts(), true);
    (void)texts;
    if (data.empty()) return;
    const std::size_t n = std::min<std::size_t>(data[0] % 33, data.size() - 1);
    // The pipeline looks up numbers that went through the keypad conversion.
    const std::string calling = KeypadDigits({reinterpret_cast<const char*>(data.data() + 1), n});
    const Input file = data.subspan(1 + n);

    const std::vector<CallerRecord> records = ParseCallers(file);
    Check(records.size() == file.size() / kCallerRecordSize, "record count");
    for (const CallerRecord& r : records) {
        Check(r.number.size() <= 60 && r.name.size() <= 255 && r.program.size() <= 255 &&
                  r.parameter.size() <= 255,
              "field longer than its room");
        Check(r.number.find('\0') == std::string::npos, "number not cut at NUL");
    }

    // The lookup against a plain restatement over the parsed records.
    const CallerMatch match = LookupCallerIn(file, calling);
    std::size_t best = 0;
    const CallerRecord* winner = nullptr;
    for (const CallerRecord& r : records) {
        const std::string digits = KeypadDigits(r.number);
        if (digits.size() > best && calling.compare(0, digits.size(), digits) == 0) {
            best = digits.size();
            winner = &r;
        }
    }
    Check(match.found == (winner != nullptr), "lookup found differs");
    if (winner != nullptr) {
        Check(match.name == winner->name && match.program == winner->program &&
                  match.parameter == winner->parameter && match.dmail == winner->dmail,
              "lookup picked another record");
        Check(match.exact == (best == calling.size()), "exact flag");
    } else {
        Check(match.name == UnknownCallerText && !match.exact, "no match is not unknown");
    }

    // The index's numbers name the same record, fed in two pieces as the file reader does.
    CallerKeys keys;
    keys.Reset(records.size() / 2);
    const std::size_t half = records.size() / 2 * kCallerRecordSize;
    keys.Add(file.first(half));
    keys.Add(file.subspan(half));
    keys.Finish();
    const CallerKeys::Hit hit = keys.Find(calling);
    Check(hit.found == (winner != nullptr), "index found differs");
    if (winner != nullptr) {
        Check(hit.length == best && &records[hit.record] == winner, "index picked another record");
    }

    // Written back from the dialog's rows, every record reads as it was (program paths lose
    // their quotes; placeholder rows are dropped).
    std::vector<CallerRow> rows;
    std::vector<const CallerRecord*> kept;
    for (const CallerRecord& r : records) {
        rows.push_back(ToRow(r));
        if (r.number != NewEntryCaption) kept.push_back(&r);
    }
    const std::vector<unsigned char> bytes = EncodeCallers(rows);
    const std::vector<CallerRecord> again = ParseCallers(bytes);
    Check(bytes.size() == kept.size() * kCallerRecordSize && again.size() == kept.size(),
          "rows written");
    for (std::size_t i = 0; i < again.size(); ++i) {
        std::string program = kept[i]->program;
        std::erase(program, '"');
        Check(again[i].number == kept[i]->number && again[i].name == kept[i]->name &&
                  again[i].program == program && again[i].parameter == kept[i]->parameter &&
                  again[i].dmail == kept[i]->dmail,
              "record changed by a write");
    }
}

}  // namespace telvor::fuzz
