#pragma once
// The settings of section "Settings" that the running monitor keeps in memory, and the MSN list.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store/SettingsStore.h"

namespace telvor {

inline constexpr std::string_view kSettingsKeyPath = "Software\\Orbek\\Telvor";
inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kMsnSection = "MSNs";
// Read as the default of "Number", it ends the MSN list.
inline constexpr std::string_view kMissingMsnNumber = "Keine gültige Nummer73925814kvo";

struct AppSettings {
    bool closeCallerForms = false;
    long long closeTime = 60000;  // milliseconds
    bool closeAfterTime = true;
    bool closeAfterConnect = false;
    bool alert = true;
    bool initAlways = false;
    long long dmWhenMessage = 2;
    std::string dmPath = "c:\\Programme\\dmail\\dmail.exe";
    std::string dmReceiver;
    std::string dmMessage;  // default: string 67
    bool enableNetDde = true;
    std::string callerFile;  // default: <exe folder>CallerList.ddb
    std::string callFile;    // default: <exe folder>Calls.ddb
    std::string logFile;     // default: <exe path with extension .log>
};

// exePath: the full path of the running program (defaults of the three file paths).
AppSettings ReadAppSettings(SettingsStore& store, std::string_view exePath);
// Writes every value of AppSettings that the configuration dialog edits.
void WriteAppSettings(SettingsStore& store, const AppSettings& settings);

// Flag order: 0 Show.CallerKnown, 1..6 Show.Audio..Else, 7 Record.CallerKnown, 8..13 Record.*.
enum MsnFlag : int {
    ShowCallerKnown, ShowAudio, ShowData, ShowFax23, ShowFax4, ShowVideo, ShowElse,
    RecordCallerKnown, RecordAudio, RecordData, RecordFax23, RecordFax4, RecordVideo, RecordElse
};
using MsnFlags = std::array<bool, 14>;
MsnFlags DefaultMsnFlags();  // the CallerKnown flags false, the service flags true

struct MsnEntry {
    std::string number;
    std::string name;
    std::string programm;
    std::string parameter;
    bool dmail = false;
    MsnFlags flags = DefaultMsnFlags();
};

// "MSNs\0000000A" for index 10.
std::string MsnSectionName(unsigned index);
// Reads entry `index`; false when its Number reads as kMissingMsnNumber (the list ends).
bool ReadMsnEntry(SettingsStore& store, unsigned index, MsnEntry& entry);
std::vector<MsnEntry> ReadMsnList(SettingsStore& store);
// Writes all five values and all fourteen flags of entry `index`, booleans as "0"/"1".
void WriteMsnEntry(SettingsStore& store, unsigned index, const MsnEntry& entry);
// The seven flags of "Show" and the seven of "Record" of entry `index`.
void WriteMsnFlags(SettingsStore& store, unsigned index, const MsnFlags& flags);
// Erases "MSNs" and writes all five values and all fourteen flags of every entry.
void WriteMsnList(SettingsStore& store, const std::vector<MsnEntry>& entries);

}  // namespace telvor
