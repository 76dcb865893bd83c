#include "store/CallListEntry.h"

#include "base/StringTable.h"

namespace telvor {

CallListEntry MakeCallListEntry(std::string_view name, std::string_view numberText,
                                std::string_view msnText, double time, std::string_view dateText,
                                std::string_view timeText, bool notFound) {
    CallListEntry entry;
    entry.caption = std::string(name == UnknownCallerText ? numberText : name);
    entry.msnText = std::string(msnText);
    entry.time = time;
    entry.dateText = std::string(dateText);
    entry.timeText = std::string(timeText);
    entry.notFound = notFound;
    return entry;
}

std::string CallListDateTimeText(const CallListEntry& entry) {
    return entry.dateText + " " + entry.timeText;
}

CallRecord ToCallRecord(const CallListEntry& entry) {
    CallRecord record;
    record.name = entry.caption.substr(0, 255);
    record.called = entry.msnText.substr(0, 127);
    record.time = entry.time;
    record.notInDatabase = entry.notFound;
    return record;
}

}  // namespace telvor
