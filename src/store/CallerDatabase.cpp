#include "store/CallerDatabase.h"

#include <atomic>

#include "numbers/Numbers.h"
#include "store/RecordIo.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

// Byte layout of one record.
constexpr std::size_t kNumberAt = 0, kNumberCap = 60;
constexpr std::size_t kMarker1At = 61, kMarker2At = 62, kDmailAt = 63;
constexpr std::size_t kNameAt = 64, kTextCap = 255;
constexpr std::size_t kProgramAt = 320;
constexpr std::size_t kParameterAt = 576;
static_assert(kParameterAt + 1 + kTextCap == kCallerRecordSize);

bool DmailSet(const unsigned char* record) {
    return record[kMarker1At] == 'D' && record[kMarker2At] == 'M' && record[kDmailAt] == '1';
}

// Length of the record number in keypad digits when those digits begin callingNumber;
// 0 when they do not (or when there are none). Works on the raw bytes, without copying.
// The number ends at a NUL, as the dialog shows it: what follows is a remnant.
std::size_t KeypadPrefixLength(std::string_view number, std::string_view callingNumber) {
    std::size_t length = 0;
    for (char c : number) {
        if (c == '\0') break;
        const char digit = KeypadDigit(c);
        if (digit == 0) continue;
        if (length == callingNumber.size() || callingNumber[length] != digit) return 0;
        ++length;
    }
    return length;
}

std::atomic<std::uint64_t> callerFileWrites{0};

// One pass of the lookup over whole records: `best` is the longest match so far.
void ScanForCaller(std::span<const unsigned char> bytes, std::string_view callingNumber,
                   CallerMatch& match, std::size_t& best) {
    const std::size_t count = bytes.size() / kCallerRecordSize;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* record = bytes.data() + i * kCallerRecordSize;
        const std::size_t length = CallerPrefixLength(record, callingNumber);
        // Strictly longer: on equal length the earlier record keeps the match.
        if (length <= best) continue;
        best = length;
        match = CallerMatchOf(record, length, callingNumber);
    }
}

void AppendRecords(std::span<const unsigned char> bytes, std::vector<CallerRecord>& records) {
    const std::size_t count = bytes.size() / kCallerRecordSize;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* raw = bytes.data() + i * kCallerRecordSize;
        CallerRecord& record = records.emplace_back();
        std::string_view number = recordio::ReadField(raw, kNumberAt, kNumberCap);
        number = number.substr(0, number.find('\0'));
        record.number = number;
        record.name = recordio::ReadField(raw, kNameAt, kTextCap);
        record.program = recordio::ReadField(raw, kProgramAt, kTextCap);
        record.parameter = recordio::ReadField(raw, kParameterAt, kTextCap);
        record.dmail = DmailSet(raw);
    }
}

}  // namespace

CallerMatch UnknownCaller() {
    CallerMatch match;
    match.name = UnknownCallerText;
    return match;
}

std::string_view CallerNumberField(const unsigned char* record) {
    return recordio::ReadField(record, kNumberAt, kNumberCap);
}

std::size_t CallerPrefixLength(const unsigned char* record, std::string_view callingNumber) {
    return KeypadPrefixLength(CallerNumberField(record), callingNumber);
}

CallerMatch CallerMatchOf(const unsigned char* record, std::size_t length,
                          std::string_view callingNumber) {
    CallerMatch match;
    match.found = true;
    match.exact = length == callingNumber.size();
    match.name = recordio::ReadField(record, kNameAt, kTextCap);
    match.program = recordio::ReadField(record, kProgramAt, kTextCap);
    match.parameter = recordio::ReadField(record, kParameterAt, kTextCap);
    match.dmail = DmailSet(record);
    return match;
}

std::uint64_t CallerFileWrites() {
    return callerFileWrites.load();
}

CallerMatch LookupCaller(const std::string& path, std::string_view callingNumber) {
    CallerMatch match = UnknownCaller();
    std::size_t best = 0;
    recordio::RecordReader reader(path, kCallerRecordSize);
    std::size_t count = 0;
    while (const unsigned char* batch = reader.NextBatch(count)) {
        ScanForCaller({batch, count * kCallerRecordSize}, callingNumber, match, best);
    }
    return match;
}

CallerMatch LookupCallerIn(std::span<const unsigned char> bytes, std::string_view callingNumber) {
    CallerMatch match = UnknownCaller();
    std::size_t best = 0;
    ScanForCaller(bytes, callingNumber, match, best);
    return match;
}

std::vector<CallerRecord> LoadCallers(const std::string& path, bool* opened) {
    std::vector<CallerRecord> records;
    recordio::RecordReader reader(path, kCallerRecordSize);
    if (opened != nullptr) *opened = reader.Opened();
    records.reserve(reader.RecordCountHint());
    std::size_t count = 0;
    while (const unsigned char* batch = reader.NextBatch(count)) {
        AppendRecords({batch, count * kCallerRecordSize}, records);
    }
    return records;
}

std::vector<CallerRecord> ParseCallers(std::span<const unsigned char> bytes) {
    std::vector<CallerRecord> records;
    records.reserve(bytes.size() / kCallerRecordSize);
    AppendRecords(bytes, records);
    return records;
}

std::vector<unsigned char> EncodeCallers(const std::vector<CallerRow>& rows) {
    std::vector<unsigned char> bytes;
    bytes.reserve(rows.size() * kCallerRecordSize);
    std::string program;
    std::string parameter;
    for (const CallerRow& row : rows) {
        // A row the user added but never named is not an entry yet.
        if (!NewEntryCaption.empty() && row.number == NewEntryCaption) continue;
        const std::size_t at = bytes.size();
        bytes.resize(at + kCallerRecordSize, 0);  // zeroed: no remnants after a field's text
        unsigned char* record = bytes.data() + at;
        SplitProgramColumn(row.programColumn, program, parameter);
        recordio::WriteField(record, kNumberAt, kNumberCap, row.number);
        record[kMarker1At] = 'D';
        record[kMarker2At] = 'M';
        record[kDmailAt] = row.dmailColumn.empty() ? '0' : '1';
        recordio::WriteField(record, kNameAt, kTextCap, row.name);
        recordio::WriteField(record, kProgramAt, kTextCap, program);
        recordio::WriteField(record, kParameterAt, kTextCap, parameter);
    }
    return bytes;
}

bool ReplaceCallers(const std::string& path, const std::vector<CallerRow>& rows) {
    const bool written = recordio::ReplaceWithBackup(path, EncodeCallers(rows));
    ++callerFileWrites;
    return written;
}

bool ReplaceCallerRecords(const std::string& path, const std::vector<CallerRecord>& records) {
    std::vector<unsigned char> bytes(records.size() * kCallerRecordSize, 0);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const CallerRecord& r = records[i];
        unsigned char* record = bytes.data() + i * kCallerRecordSize;
        recordio::WriteField(record, kNumberAt, kNumberCap, r.number);
        record[kMarker1At] = 'D';
        record[kMarker2At] = 'M';
        record[kDmailAt] = r.dmail ? '1' : '0';
        recordio::WriteField(record, kNameAt, kTextCap, r.name);
        recordio::WriteField(record, kProgramAt, kTextCap, r.program);
        recordio::WriteField(record, kParameterAt, kTextCap, r.parameter);
    }
    const bool written = recordio::ReplaceWithBackup(path, bytes);
    ++callerFileWrites;
    return written;
}

std::string JoinProgramColumn(std::string_view program, std::string_view parameter) {
    if (program.empty() && parameter.empty()) return {};
    // A quote inside the path would end it early when the column is split again.
    std::string column = "\"";
    for (char c : program) {
        if (c != '"') column.push_back(c);
    }
    column += "\" ";
    column += parameter;
    return column;
}

void SplitProgramColumn(std::string_view column, std::string& program, std::string& parameter) {
    program.clear();
    parameter.clear();
    if (column.size() < 3) return;
    const std::size_t close = column.front() == '"' ? column.find('"', 1) : std::string_view::npos;
    if (close == std::string_view::npos) {
        // Not in the quoted form (typed or imported by hand): keep the text as the program
        // rather than cutting characters off it.
        for (char c : column) {
            if (c != '"') program.push_back(c);
        }
    } else {
        program = column.substr(1, close - 1);
        std::size_t from = close + 1;
        if (from < column.size() && column[from] == ' ') ++from;
        parameter = column.substr(from);
    }
    if (program.size() > 255) program.resize(255);
    if (parameter.size() > 255) parameter.resize(255);
}

CallerRow ToRow(const CallerRecord& record) {
    CallerRow row;
    row.number = record.number;
    row.name = record.name;
    row.programColumn = JoinProgramColumn(record.program, record.parameter);
    if (record.dmail) row.dmailColumn.assign(1, 'X');
    return row;
}

std::string BackupName(const std::string& path) {
    return recordio::BackupName(path);
}

}  // namespace telvor
