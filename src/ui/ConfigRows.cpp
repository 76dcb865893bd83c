#include "ui/ConfigRows.h"

#include "base/StringTable.h"

namespace telvor {

MsnRow ToMsnRow(const MsnEntry& entry) {
    MsnRow row;
    row.number = entry.number;
    row.name = entry.name;
    row.programColumn = JoinProgramColumn(entry.programm, entry.parameter);
    // assign(1, ...) rather than = "X", which GCC 12 misreads as an overlapping copy.
    if (entry.dmail) row.dmailColumn.assign(1, 'X');
    row.flags = entry.flags;
    return row;
}

MsnEntry ToMsnEntry(const MsnRow& row) {
    MsnEntry entry;
    entry.number = row.number;
    entry.name = row.name;
    SplitProgramColumn(row.programColumn, entry.programm, entry.parameter);
    entry.dmail = !row.dmailColumn.empty();
    entry.flags = row.flags;
    return entry;
}

std::vector<MsnEntry> ToMsnEntries(const std::vector<MsnRow>& rows) {
    std::vector<MsnEntry> entries;
    entries.reserve(rows.size());
    for (const MsnRow& row : rows) entries.push_back(ToMsnEntry(row));
    return entries;
}

CallRow ToCallRow(const CallListEntry& entry) {
    return {entry.caption, entry.msnText, CallListDateTimeText(entry), entry.time, entry.notFound};
}

CallRow ToCallRow(const CallRecord& record, std::string dateTimeText) {
    return {record.name, record.called, std::move(dateTimeText), record.time, record.notInDatabase};
}

CallerRow NewCallerRow() {
    CallerRow row;
    row.number = NewEntryCaption;
    return row;
}

MsnRow NewMsnRow() {
    MsnRow row;
    row.number = NewMsnCaption;
    return row;
}

}  // namespace telvor
