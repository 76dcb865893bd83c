#include "store/TextImport.h"

#include <cstdio>

#include "store/AppSettings.h"
#include "store/RecordIo.h"

namespace telvor {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

// The text before the first separator, trimmed; the line loses it and that separator (all of
// it when there is none).
std::string_view TakeField(std::string_view& line, std::string_view separator) {
    const std::size_t cut = separator.empty() ? std::string_view::npos : line.find(separator);
    const std::string_view field = line.substr(0, cut);
    line = cut == std::string_view::npos ? std::string_view{} : line.substr(cut + separator.size());
    return Trim(field);
}

CallerRow RowOf(std::string_view line, std::string_view separator) {
    CallerRow row;
    row.number = TakeField(line, separator);
    row.name = TakeField(line, separator);
    const std::string_view program = TakeField(line, separator);
    const std::string_view parameter = Trim(line);
    // The program column: "program" parameters. A quote inside the program would end it early
    // when the column is split on apply, and no path holds one: it is dropped.
    std::string column = "\"";
    for (char c : program)
        if (c != '"') column.push_back(c);
    column += "\" ";
    column += parameter;
    if (column.size() > 3) row.programColumn = std::move(column);
    return row;
}

}  // namespace

std::string ReadImportSeparator(SettingsStore& store) {
    return store.ReadString(kSettingsSection, "Separator", ",");
}

std::vector<CallerRow> ParseCallerImport(std::string_view text, std::string_view separator) {
    text = text.substr(0, text.find('\0'));
    std::vector<CallerRow> rows;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (!line.empty()) rows.push_back(RowOf(line, separator));
        if (end == std::string_view::npos) break;
        std::size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
        text.remove_prefix(next);
    }
    return rows;
}

std::optional<std::vector<CallerRow>> ImportCallerFile(const std::string& path,
                                                       std::string_view separator) {
    const std::optional<std::string> text = recordio::ReadWholeFile(path);
    if (!text) return std::nullopt;
    return ParseCallerImport(*text, separator);
}

}  // namespace telvor
