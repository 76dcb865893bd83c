// The text import of the caller database: any bytes as the file, any separator. The rows must
// follow the line and field rule written out character by character, and applied to the
// database file they must read back as the fields cut to their rooms.
#include <algorithm>
#include <string>
#include <vector>

#include "Harnesses.h"
#include "base/StringTable.h"
#include "store/CallerDatabase.h"
#include "store/TextImport.h"

namespace telvor::fuzz {
namespace {

struct Fields {
    std::string number, name, program, parameter;
};

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trimmed(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool SeparatorAt(const std::string& line, std::size_t at, const std::string& separator) {
    if (separator.empty() || at + separator.size() > line.size()) return false;
    for (std::size_t i = 0; i < separator.size(); ++i)
        if (line[at + i] != separator[i]) return false;
    return true;
}

// Fields 1 to 3 end at the next separator, field 4 is the rest, separators included.
Fields FieldsOf(const std::string& line, const std::string& separator) {
    std::string field[4];
    int current = 0;
    for (std::size_t at = 0; at < line.size();) {
        if (current < 3 && SeparatorAt(line, at, separator)) {
            ++current;
            at += separator.size();
        } else {
            field[current].push_back(line[at++]);
        }
    }
    return {Trimmed(field[0]), Trimmed(field[1]), Trimmed(field[2]), Trimmed(field[3])};
}

// Every CR and every LF ends a line (a CR LF pair leaves an empty line between, and empty
// lines are skipped); the first NUL ends the text.
std::vector<Fields> Reference(std::string_view text, const std::string& separator) {
    std::vector<Fields> lines;
    std::string line;
    for (char c : text) {
        if (c == '\0') break;
        if (c == '\r' || c == '\n') {
            if (!line.empty()) lines.push_back(FieldsOf(line, separator));
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(FieldsOf(line, separator));
    return lines;
}

std::string ProgramColumn(const Fields& f) {
    // A quote in the program is dropped: it would end the program early on apply.
    std::string program = f.program;
    std::erase(program, '"');
    const std::string column = "\"" + program + "\" " + f.parameter;
    return column.size() <= 3 ? std::string() : column;
}

std::string Cut(const std::string& text, std::size_t room) {
    return text.substr(0, std::min(room, text.size()));
}

}  // namespace

// [1 byte n][n bytes separator][file text]
void TextImport(Input data) {
    static const bool texts = (LoadStartupTexts(), true);
    (void)texts;
    if (data.empty()) return;
    const std::size_t n = std::min<std::size_t>(data[0] % 5, data.size() - 1);
    const std::string separator(reinterpret_cast<const char*>(data.data() + 1), n);
    const std::string_view text(reinterpret_cast<const char*>(data.data() + 1 + n),
                                data.size() - 1 - n);

    const std::vector<CallerRow> rows = ParseCallerImport(text, separator);
    const std::vector<Fields> expected = Reference(text, separator);
    Check(rows.size() == expected.size(), "one row per non-empty line");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Check(rows[i].number == expected[i].number, "number field");
        Check(rows[i].name == expected[i].name, "name field");
        Check(rows[i].programColumn == ProgramColumn(expected[i]), "program column");
        Check(rows[i].dmailColumn.empty(), "imported row asks for a message");
    }

    // Applied, each row becomes a record holding its fields, cut to the record's rooms. A row
    // still named like the placeholder of a new entry is not an entry and is left out.
    const std::vector<CallerRecord> records = ParseCallers(EncodeCallers(rows));
    std::vector<const Fields*> kept;
    for (const Fields& f : expected)
        if (f.number != NewEntryCaption) kept.push_back(&f);
    Check(records.size() == kept.size(), "rows applied");
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Fields& f = *kept[i];
        std::string program = f.program;
        std::erase(program, '"');
        Check(records[i].number == Cut(f.number, 60) && records[i].name == Cut(f.name, 255) &&
                  records[i].program == Cut(program, 255) &&
                  records[i].parameter == Cut(f.parameter, 255) && !records[i].dmail,
              "applied record differs from the imported fields");
    }
}

}  // namespace telvor::fuzz
