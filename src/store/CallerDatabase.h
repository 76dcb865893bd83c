#pragma once
// The caller database file: a plain sequence of 832-byte records (CallerList.ddb).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace telvor {

constexpr std::size_t kCallerRecordSize = 832;

// One record in memory (texts already cut to their used length).
struct CallerRecord {
    std::string number;     // at most 60
    std::string name;       // at most 255
    std::string program;    // at most 255
    std::string parameter;  // at most 255
    bool dmail = false;     // bytes 61..63 are exactly 'D','M','1'
};

// A row of the configuration dialog's caller list: caption, name, program column, dmail column.
struct CallerRow {
    std::string number;
    std::string name;
    std::string programColumn;  // "\"program\" parameter", empty when both are empty
    std::string dmailColumn;    // "X" or empty
};

struct CallerMatch {
    bool found = false;
    bool exact = false;
    std::string name;  // UnknownCallerText when not found
    std::string program;
    std::string parameter;
    bool dmail = false;
};

// Longest KeypadDigits prefix of callingNumber, first in file on ties. Reads the file once,
// without caching: every change to the file is seen by the next lookup. The call pipeline
// asks CallerIndex instead, which gives the same result without reading the whole file.
CallerMatch LookupCaller(const std::string& path, std::string_view callingNumber);

// All records in file order; an unreadable file gives an empty list (opened == false).
std::vector<CallerRecord> LoadCallers(const std::string& path, bool* opened = nullptr);

// Writes the rows as a new file, keeping the previous one as ".bak". Rows captioned
// NewEntryCaption are dropped. Returns false when the file could not be written.
bool ReplaceCallers(const std::string& path, const std::vector<CallerRow>& rows);

// Writes the records as they are (texts cut to their fields), keeping the previous file as
// ".bak". Returns false when the file could not be written.
bool ReplaceCallerRecords(const std::string& path, const std::vector<CallerRecord>& records);

// The same readers and the writer's encoding on bytes in memory (whole records only; a
// trailing partial record is ignored). The file readers hand their chunks to the same code.
CallerMatch LookupCallerIn(std::span<const unsigned char> bytes, std::string_view callingNumber);
std::vector<CallerRecord> ParseCallers(std::span<const unsigned char> bytes);
std::vector<unsigned char> EncodeCallers(const std::vector<CallerRow>& rows);

// The pieces of the lookup, for CallerIndex. `record` points at kCallerRecordSize bytes.
// The result of a lookup that matched nothing: UnknownCallerText, nothing else set.
CallerMatch UnknownCaller();
// The record's number field as stored (up to 60 bytes, not yet cut at a NUL).
std::string_view CallerNumberField(const unsigned char* record);
// The length of the record's number in keypad digits when those digits begin callingNumber;
// 0 when they do not or when there are none.
std::size_t CallerPrefixLength(const unsigned char* record, std::string_view callingNumber);
// The match a record gives whose number is a prefix of callingNumber `length` digits long.
CallerMatch CallerMatchOf(const unsigned char* record, std::size_t length,
                          std::string_view callingNumber);

// How many times this process has written a caller database file (ReplaceCallers,
// ReplaceCallerRecords). An index compares it with the count it was built at, so the
// program's own writes are seen even when they leave the file's size and time as they were.
std::uint64_t CallerFileWrites();

// The program column shared with the dialogs.
std::string JoinProgramColumn(std::string_view program, std::string_view parameter);
void SplitProgramColumn(std::string_view column, std::string& program, std::string& parameter);
CallerRow ToRow(const CallerRecord& record);

// "x.ddb" -> "x.bak"; a name without extension gets ".bak" appended.
std::string BackupName(const std::string& path);

}  // namespace telvor
