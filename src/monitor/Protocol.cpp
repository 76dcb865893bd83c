#include "monitor/Protocol.h"

#include <cstdio>
#include <memory>

#include "store/AppSettings.h"
#include "store/SettingsStore.h"
#include "ui/StringTable.h"

namespace telvor {

std::string FormatProtocolLine(const ProtocolFields& f, std::string_view separator) {
    std::string sep(separator);
    sep += ' ';
    std::string line;
    line.append(f.date).append(sep).append(f.time).append(sep).append(f.name).append(sep);
    line.append(f.number).append(sep).append(f.service).append(sep).append(f.msn);
    line.append("\r\n");
    return line;
}

std::string ReadProtocolSeparator(SettingsStore& store) {
    return store.ReadString(kSettingsSection, "Separator", ",");
}

bool WriteProtocolLine(const std::string& path, std::string_view line) {
    if (path.empty()) return false;
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    // Binary mode: the line already carries its CR LF.
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "ab"));
    if (!file) return false;
    const bool written = std::fwrite(line.data(), 1, line.size(), file.get()) == line.size();
    return std::fclose(file.release()) == 0 && written;
}

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
