#include "contacts/ContactWriter.h"

#include "base/StringTable.h"
#include "base/TextEncoding.h"
#include "numbers/Numbers.h"

namespace telvor::contacts {
namespace {

constexpr std::size_t kFoldAt = 75;

bool Exported(const CallerRow& row) {
    return !row.number.empty() && row.number != NewEntryCaption;
}

// The number as stored, with letters (a vanity number) as the digits they dial, so that the
// file holds a number any phone book can dial and reading it back finds the same callers.
std::string DialableNumber(const std::string& number) {
    std::string out;
    for (char c : number) {
        const char digit = KeypadDigit(c);
        const bool letter = digit != 0 && !(c >= '0' && c <= '9') && c != '*' && c != '#';
        out.push_back(letter ? digit : c);
    }
    return out;
}

std::string EscapeVCardText(const std::string& text) {
    std::string out;
    for (char c : Cp1252ToUtf8(text)) {
        if (c == '\\' || c == ',' || c == ';') out.push_back('\\');
        if (c == '\n') {
            out += "\\n";
        } else if (c != '\r') {
            out.push_back(c);
        }
    }
    return out;
}

// A content line folded after at most kFoldAt bytes, never inside a UTF-8 sequence.
void AppendFolded(std::string& out, const std::string& line) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(line[i]) & 0xC0u) == 0x80u;
        if (width >= kFoldAt && !continuation) {
            out += "\r\n ";
            width = 1;
        }
        out.push_back(line[i]);
        ++width;
    }
    out += "\r\n";
}

std::string CsvField(const std::string& utf8) {
    if (utf8.find_first_of(";\"\r\n") == std::string::npos) return utf8;
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    return out + "\"";
}

}  // namespace

std::string WriteVCards(const std::vector<CallerRow>& rows) {
    std::string out;
    for (const CallerRow& row : rows) {
        if (!Exported(row)) continue;
        const std::string name = EscapeVCardText(row.name);
        out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        AppendFolded(out, "FN:" + name);
        AppendFolded(out, "N:" + name + ";;;;");
        AppendFolded(out, "TEL;TYPE=VOICE:" + EscapeVCardText(DialableNumber(row.number)));
        out += "END:VCARD\r\n";
    }
    return out;
}

std::string WriteCsv(const std::vector<CallerRow>& rows) {
    std::string out = "\xEF\xBB\xBFName;Telefon;Programm;Parameter\r\n";
    for (const CallerRow& row : rows) {
        if (!Exported(row)) continue;
        std::string program, parameter;
        SplitProgramColumn(row.programColumn, program, parameter);
        out += CsvField(Cp1252ToUtf8(row.name)) + ';' +
               CsvField(Cp1252ToUtf8(DialableNumber(row.number))) + ';' +
               CsvField(Cp1252ToUtf8(program)) + ';' + CsvField(Cp1252ToUtf8(parameter)) + "\r\n";
    }
    return out;
}

}  // namespace telvor::contacts
