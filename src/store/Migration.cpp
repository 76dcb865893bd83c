#include "store/Migration.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/Version.h"
#include "store/AppSettings.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "store/SubtreeSettingsStore.h"

namespace telvor {
namespace {

constexpr std::string_view kExcluded = "ExcludedMSNs";
constexpr std::string_view kCallerList = "CallerList";
constexpr std::string_view kCalls = "Calls";

// Registry names compare without regard to letter case.
char Fold(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = Fold(c);
    return folded;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

// All values of a legacy section, in one pass when the context can read them so.
SectionValues ReadValues(SettingsStore& legacy, const MigrationContext& context,
                         std::string_view section) {
    const std::string path = std::string(kLegacyTreePath) + "\\" + std::string(section);
    if (context.readLegacySection) return context.readLegacySection(path);
    SectionValues values;
    for (std::string& name : legacy.ReadSection(section)) {
        std::string text = legacy.ReadString(section, name, {});
        values.emplace_back(std::move(name), std::move(text));
    }
    return values;
}

std::string_view ValueOf(const SectionValues& values, std::string_view name) {
    for (const auto& [n, text] : values)
        if (SameName(n, name)) return text;
    return {};
}

std::string Cut(std::string_view text, std::size_t length) {
    return std::string(text.substr(0, length));
}

// Erasing in the legacy tree tidies up; where it is refused, the mark in the current tree
// keeps the data from being taken over twice, and the final erase reports it.
void TryEraseSection(SettingsStore& legacy, std::string_view section) {
    try {
        legacy.EraseSection(section);
    } catch (const StoreError&) {
    }
}

void TryDeleteValue(SettingsStore& legacy, std::string_view section, std::string_view name) {
    try {
        legacy.DeleteValue(section, name);
    } catch (const StoreError&) {
    }
}

// Whether `word` is one of the blank-separated words of `text`.
bool HasWord(std::string_view text, std::string_view word) {
    while (!text.empty()) {
        const std::size_t blank = text.find(' ');
        if (SameName(text.substr(0, blank), word)) return true;
        if (blank == std::string_view::npos) break;
        text.remove_prefix(blank + 1);
    }
    return false;
}

// What the mark records after this start: "1", or the lists still waiting for their file.
std::string MigratedMark(const MigrationOutcome& out) {
    std::string mark;
    if (out.callersKept) mark = kCallerList;
    if (out.callsKept) {
        if (!mark.empty()) mark += ' ';
        mark += kCalls;
    }
    return mark.empty() ? "1" : mark;
}

std::string CallSection(unsigned index) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", index);
    return std::string(kCalls) + "\\" + digits;
}

// 1. Each excluded MSN becomes an entry that is neither shown nor recorded, numbered from 0.
void MigrateExcludedMsns(SettingsStore& current, SettingsStore& legacy, MigrationOutcome& out) {
    const std::vector<std::string> names = legacy.ReadSection(kExcluded);
    MsnFlags none;
    none.fill(false);
    for (unsigned i = 0; i < names.size(); ++i) {
        current.WriteString(MsnSectionName(i), "Number", names[i]);
        WriteMsnFlags(current, i, none);
    }
    out.excludedMsns = names.size();
    if (!names.empty()) TryEraseSection(legacy, kExcluded);
}

// 4. The legacy caller list becomes the caller database file; an older file becomes ".bak".
void MigrateCallers(SettingsStore& legacy, const MigrationContext& context, MigrationOutcome& out) {
    const SectionValues callers = ReadValues(legacy, context, kCallerList);
    if (callers.empty()) return;
    // Only callers with a program have a section of their own: the others are not looked up.
    std::vector<std::string> withProgram = legacy.ReadSubsections(kCallerList);
    for (std::string& sub : withProgram) sub = Folded(sub);
    std::sort(withProgram.begin(), withProgram.end());
    std::vector<CallerRecord> records;
    records.reserve(callers.size());
    const std::string listSection(kCallerList);
    for (const auto& [name, text] : callers) {
        CallerRecord& record = records.emplace_back();
        // What the trailing '*' meant is lost; the number is kept without it.
        std::string_view number = name;
        if (!number.empty() && number.back() == '*') number.remove_suffix(1);
        record.number = Cut(number, 60);
        record.name = Cut(text, 255);
        // The program's section is named with the value name as it is, '*' included.
        if (std::binary_search(withProgram.begin(), withProgram.end(), Folded(name)))
            record.program =
                Cut(legacy.ReadString(listSection + "\\" + name, "Programme", {}), 255);
    }
    out.callers = records.size();
    if (ReplaceCallerRecords(out.callerFile, records))
        TryEraseSection(legacy, kCallerList);
    else
        out.callersKept = true;
}

// 5. The legacy calls, numbered from 00000000 without gaps, become the call list file.
void MigrateCalls(SettingsStore& legacy, const MigrationContext& context, MigrationOutcome& out) {
    std::vector<CallRecord> calls;
    for (unsigned i = 0;; ++i) {
        const SectionValues values = ReadValues(legacy, context, CallSection(i));
        const std::string_view time = ValueOf(values, "Time");
        if (time.empty()) break;  // a gap ends the list; later calls go with the section
        CallRecord& call = calls.emplace_back();
        call.name = Cut(ValueOf(values, "Name"), 255);
        call.called = Cut(ValueOf(values, "Called"), 127);
        call.notInDatabase = true;
        const std::string text = std::string(ValueOf(values, "Date")) + " " + std::string(time);
        std::optional<double> parsed;
        if (context.parseDateTime) parsed = context.parseDateTime(text);
        call.time = parsed.value_or(0.0);  // 30 December 1899 rather than a stopped migration
    }
    out.calls = calls.size();
    if (!calls.empty() && !ReplaceCalls(out.callFile, calls)) {
        out.callsKept = true;
        return;
    }
    TryEraseSection(legacy, kCalls);
}

// 6. One ring sound for all MSNs becomes the program of every MSN.
void MigrateRingSound(SettingsStore& current) {
    if (!current.ReadBool(kSettingsSection, "PlaySound", false)) return;
    const std::string sound = current.ReadString(kSettingsSection, "RingSound", {});
    for (unsigned i = 0;; ++i) {
        const std::string section = MsnSectionName(i);
        if (current.ReadString(section, "Number", kMissingMsnNumber) == kMissingMsnNumber) break;
        current.WriteString(section, "Programm", sound);
        current.WriteString(section, "Parameter", {});
    }
    current.WriteBool(kSettingsSection, "PlaySound", false);
    current.WriteString(kSettingsSection, "RingSound", {});
}

// 7. The legacy settings overwrite the current ones of the same name.
void MigrateSettings(SettingsStore& current, SettingsStore& legacy, MigrationOutcome& out) {
    const std::vector<std::string> names = legacy.ReadSection(kSettingsSection);
    for (const std::string& name : names)
        current.WriteString(kSettingsSection, name, legacy.ReadString(kSettingsSection, name, {}));
    out.settings = names.size();
    if (!names.empty()) TryEraseSection(legacy, kSettingsSection);
}

// 8. The legacy MSN list overwrites the current entries with the same numbers; booleans are
// written in this version's form whatever form they had.
void MigrateMsns(SettingsStore& current, SettingsStore& legacy, MigrationOutcome& out) {
    MsnEntry entry;
    unsigned i = 0;
    for (; ReadMsnEntry(legacy, i, entry); ++i) WriteMsnEntry(current, i, entry);
    out.msns = i;
}

}  // namespace

MigrationOutcome MigrateLegacyData(SettingsStore& current, SettingsStore& legacyRoot,
                                   const MigrationContext& context) {
    SubtreeSettingsStore legacy(legacyRoot, kLegacyTreePath);
    MigrationOutcome out;
    // The tree is taken over once; later starts copy only a list still waiting for its file.
    const std::string mark = current.ReadString(kSettingsSection, kLegacyMigratedValue, {});
    const bool present = legacyRoot.SectionExists(kLegacyTreePath);
    out.copied = present && (mark.empty() || mark == "0");
    const bool callersDue = out.copied || (present && HasWord(mark, kCallerList));
    const bool callsDue = out.copied || (present && HasWord(mark, kCalls));
    if (out.copied) {
        MigrateExcludedMsns(current, legacy, out);
        // 2. Values the current version no longer uses.
        TryDeleteValue(legacy, kSettingsSection, "ProtocolFile");
        TryDeleteValue(legacy, kSettingsSection, "ShowCalls");
    }
    // 3. The paths of the two record files.
    const AppSettings paths = ReadAppSettings(current, context.exePath);
    out.callerFile = paths.callerFile;
    out.callFile = paths.callFile;
    if (callersDue) MigrateCallers(legacy, context, out);
    if (callsDue) MigrateCalls(legacy, context, out);
    MigrateRingSound(current);
    if (out.copied) {
        MigrateSettings(current, legacy, out);
        MigrateMsns(current, legacy, out);
    }
    if (callersDue || callsDue)
        current.WriteString(kSettingsSection, kLegacyMigratedValue, MigratedMark(out));
    return out;
}

namespace {

bool Kept(const MigrationOutcome& outcome, std::string_view section) {
    return (outcome.callersKept && SameName(section, kCallerList)) ||
           (outcome.callsKept && SameName(section, kCalls));
}

// Erases what is to go; true when something of it is still there afterwards.
bool EraseLeavesSomething(SettingsStore& legacyRoot, const MigrationOutcome& outcome) {
    if (!outcome.callersKept && !outcome.callsKept) {
        legacyRoot.EraseSection(kLegacyTreePath);
        return legacyRoot.SectionExists(kLegacyTreePath);
    }
    // A list whose file could not be written stays for the next start; the rest goes.
    SubtreeSettingsStore legacy(legacyRoot, kLegacyTreePath);
    for (const std::string& name : legacy.ReadSubsections({}))
        if (!Kept(outcome, name)) legacy.EraseSection(name);
    for (const std::string& name : legacy.ReadSection({})) legacy.DeleteValue({}, name);
    const std::vector<std::string> left = legacy.ReadSubsections({});
    return !legacy.ReadSection({}).empty() ||
           std::any_of(left.begin(), left.end(),
                       [&](const std::string& name) { return !Kept(outcome, name); });
}

}  // namespace

LegacyEraseResult EraseLegacyTree(SettingsStore& legacyRoot, const MigrationOutcome& outcome) {
    bool refused = false;
    try {
        refused = EraseLeavesSomething(legacyRoot, outcome);
    } catch (const StoreError&) {
        refused = true;
    }
    return {outcome.copied && refused};
}

StartupVersion DecideStartupVersion(std::string_view storedVersion) {
    StartupVersion v;
    v.firstRun = storedVersion == "no" || storedVersion == "1.01" || storedVersion == "1.05";
    v.writeShareRecord = storedVersion != TELVOR_VERSION_TEXT;
    return v;
}

}  // namespace telvor
