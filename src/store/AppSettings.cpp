#include "store/AppSettings.h"

#include <cstdio>
#include <iterator>
#include <utility>

#include "base/StringTable.h"

namespace telvor {
namespace {

constexpr unsigned kDefaultDmMessageId = 67;
constexpr std::string_view kServiceNames[] = {"CallerKnown", "Audio", "Data", "Fax23",
                                              "Fax4",        "Video", "Else"};
constexpr std::size_t kFlagsPerGroup = std::size(kServiceNames);
static_assert(2 * kFlagsPerGroup == std::tuple_size_v<MsnFlags>);

// The folder of a program path, with its trailing separator ("C:" for "C:x.exe").
std::string_view FolderOf(std::string_view path) {
    auto cut = path.find_last_of("\\/:");
    return cut == std::string_view::npos ? std::string_view{} : path.substr(0, cut + 1);
}

// A dot in a folder name is not an extension: only the last path element is looked at.
std::string WithExtension(std::string_view path, std::string_view extension) {
    auto dot = path.find_last_of('.');
    auto folderEnd = path.find_last_of("\\/:");
    if (dot != std::string_view::npos && (folderEnd == std::string_view::npos || dot > folderEnd))
        path = path.substr(0, dot);
    return std::string(path) + std::string(extension);
}

std::string Section(unsigned index, std::string_view group) {
    return MsnSectionName(index) + "\\" + std::string(group);
}

}  // namespace

AppSettings ReadAppSettings(SettingsStore& store, std::string_view exePath) {
    const auto s = kSettingsSection;
    const AppSettings d;  // the built-in defaults
    AppSettings a;
    a.closeCallerForms = store.ReadBool(s, "CloseCallerForms", d.closeCallerForms);
    a.closeTime = store.ReadInteger(s, "CloseTime", d.closeTime);
    a.closeAfterTime = store.ReadBool(s, "CloseAfterTime", d.closeAfterTime);
    a.closeAfterConnect = store.ReadBool(s, "CloseAfterConnect", d.closeAfterConnect);
    a.alert = store.ReadBool(s, "Alert", d.alert);
    a.initAlways = store.ReadBool(s, "InitAlways", d.initAlways);
    a.dmWhenMessage = store.ReadInteger(s, "DMWhenMessage", d.dmWhenMessage);
    a.dmPath = store.ReadString(s, "DMPath", d.dmPath);
    a.dmReceiver = store.ReadString(s, "DMReceiver", d.dmReceiver);
    a.dmMessage = store.ReadString(s, "DMMessage", LoadStr(kDefaultDmMessageId));
    a.enableNetDde = store.ReadBool(s, "EnableNetDDE", d.enableNetDde);
    const std::string folder(FolderOf(exePath));
    a.callerFile = store.ReadString(s, "CallerFile", folder + "CallerList.ddb");
    a.callFile = store.ReadString(s, "CallFile", folder + "Calls.ddb");
    a.logFile = store.ReadString(s, "LOGFile", WithExtension(exePath, ".log"));
    return a;
}

void WriteAppSettings(SettingsStore& store, const AppSettings& a) {
    // The order in which the configuration dialog stores them.
    const auto s = kSettingsSection;
    store.WriteBool(s, "CloseCallerForms", a.closeCallerForms);
    store.WriteInteger(s, "CloseTime", a.closeTime);
    store.WriteBool(s, "CloseAfterTime", a.closeAfterTime);
    store.WriteBool(s, "CloseAfterConnect", a.closeAfterConnect);
    store.WriteBool(s, "InitAlways", a.initAlways);
    store.WriteBool(s, "Alert", a.alert);
    store.WriteInteger(s, "DMWhenMessage", a.dmWhenMessage);
    store.WriteString(s, "DMPath", a.dmPath);
    store.WriteString(s, "DMReceiver", a.dmReceiver);
    store.WriteString(s, "DMMessage", a.dmMessage);
}

MsnFlags DefaultMsnFlags() {
    MsnFlags flags;
    flags.fill(true);
    flags[ShowCallerKnown] = false;
    flags[RecordCallerKnown] = false;
    return flags;
}

std::string MsnSectionName(unsigned index) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08X", index);
    return std::string(kMsnSection) + "\\" + digits;
}

bool ReadMsnEntry(SettingsStore& store, unsigned index, MsnEntry& entry) {
    const std::string section = MsnSectionName(index);
    std::string number = store.ReadString(section, "Number", kMissingMsnNumber);
    if (number == kMissingMsnNumber) return false;
    entry.number = std::move(number);
    entry.name = store.ReadString(section, "Name", {});
    entry.programm = store.ReadString(section, "Programm", {});
    entry.parameter = store.ReadString(section, "Parameter", {});
    entry.dmail = store.ReadBool(section, "dmail", false);
    const MsnFlags defaults = DefaultMsnFlags();
    const std::string groups[2] = {Section(index, "Show"), Section(index, "Record")};
    for (std::size_t g = 0; g < 2; ++g)
        for (std::size_t i = 0; i < kFlagsPerGroup; ++i) {
            std::size_t flag = g * kFlagsPerGroup + i;
            entry.flags[flag] = store.ReadBool(groups[g], kServiceNames[i], defaults[flag]);
        }
    return true;
}

std::vector<MsnEntry> ReadMsnList(SettingsStore& store) {
    std::vector<MsnEntry> entries;
    MsnEntry entry;
    for (unsigned index = 0; ReadMsnEntry(store, index, entry); ++index)
        entries.push_back(std::move(entry));
    return entries;
}

void WriteMsnEntry(SettingsStore& store, unsigned index, const MsnEntry& entry) {
    const std::string section = MsnSectionName(index);
    store.WriteString(section, "Number", entry.number);
    store.WriteString(section, "Name", entry.name);
    store.WriteString(section, "Programm", entry.programm);
    store.WriteString(section, "Parameter", entry.parameter);
    store.WriteBool(section, "dmail", entry.dmail);
    WriteMsnFlags(store, index, entry.flags);
}

void WriteMsnFlags(SettingsStore& store, unsigned index, const MsnFlags& flags) {
    const std::string groups[2] = {Section(index, "Show"), Section(index, "Record")};
    for (std::size_t g = 0; g < 2; ++g)
        for (std::size_t i = 0; i < kFlagsPerGroup; ++i)
            store.WriteBool(groups[g], kServiceNames[i], flags[g * kFlagsPerGroup + i]);
}

void WriteMsnList(SettingsStore& store, const std::vector<MsnEntry>& entries) {
    store.EraseSection(kMsnSection);
    unsigned index = 0;
    for (const MsnEntry& entry : entries) {
        // Stored, this number would read as the end of the list and hide every entry after
        // it; it cannot be kept, so it is left out and the rest stays reachable.
        if (entry.number == kMissingMsnNumber) continue;
        WriteMsnEntry(store, index, entry);
        ++index;
    }
}

}  // namespace telvor
