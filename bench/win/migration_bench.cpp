// Start-up migration and text import under Wine: a legacy tree of 10 000 callers (each with a
// program section) and 10 000 calls below the local machine's key, moved by the start-up
// steps into the current user's tree and the record files; then a 100 000-line import file.
// A plain Windows program (scripts/wine-run gives it a fresh prefix); prints the figures.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "store/Migration.h"
#include "store/TextImport.h"
#include "store/win/RegistrySectionValues.h"
#include "store/win/RegistrySettingsStore.h"
#include "store/win/SystemDateTimeFormat.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Folder() {
    if (const char* dir = std::getenv("TELVOR_CASE_DIR_WIN")) return dir;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

}  // namespace

int main() {
    using namespace telvor;
    constexpr unsigned kCallers = 10000;
    constexpr unsigned kCalls = 10000;
    const std::string folder = Folder();
    const std::string legacy = "Software\\Orbek\\Telvor\\";

    RegistrySettingsStore machine(HKEY_LOCAL_MACHINE, "");
    RegistrySettingsStore current;
    current.WriteString("Settings", "CallerFile", folder + "\\CallerList.ddb");
    current.WriteString("Settings", "CallFile", folder + "\\Calls.ddb");
    current.DeleteValue("Settings", kLegacyMigratedValue);  // a take-over of an earlier run
    const Clock::time_point seedStart = Clock::now();
    char name[16];
    for (unsigned i = 0; i < kCallers; ++i) {
        std::snprintf(name, sizeof name, "0711%06u", i);
        machine.WriteString(legacy + "CallerList", name, "Anrufer Nummer " + std::to_string(i));
        machine.WriteString(legacy + "CallerList\\" + name, "Programme", "c:\\klang.wav");
    }
    for (unsigned i = 0; i < kCalls; ++i) {
        std::snprintf(name, sizeof name, "%08X", i);
        const std::string section = legacy + "Calls\\" + name;
        machine.WriteString(section, "Date", "24.12.1999");
        machine.WriteString(section, "Time", "18:30:15");
        machine.WriteString(section, "Name", "Anrufer");
        machine.WriteString(section, "Called", "4711");
    }
    std::printf("seeded %u callers and %u calls in %.2f s\n", kCallers, kCalls,
                SecondsSince(seedStart));

    // Where the time goes: the two kinds of registry reads the steps make, on their own.
    Clock::time_point phase = Clock::now();
    for (unsigned i = 0; i < kCalls; ++i) {
        std::snprintf(name, sizeof name, "%08X", i);
        ReadRegistrySectionValues(HKEY_LOCAL_MACHINE, legacy + "Calls\\" + name);
    }
    std::printf("reading the calls' sections: %.2f s\n", SecondsSince(phase));
    phase = Clock::now();
    const auto names = machine.ReadSubsections(legacy + "CallerList");
    for (const std::string& sub : names)
        machine.ReadString(legacy + "CallerList\\" + sub, "Programme", "");
    std::printf("reading %zu callers' programs: %.2f s\n", names.size(), SecondsSince(phase));

    const Clock::time_point start = Clock::now();
    const MigrationOutcome outcome = MigrateLegacyData(
        current, machine,
        {"C:\\Telvor\\Telvor.exe", SystemDateTimeParser(), [](const std::string& section) {
             return ReadRegistrySectionValues(HKEY_LOCAL_MACHINE, section);
         }});
    const double copied = SecondsSince(start);
    EraseLegacyTree(machine, outcome);
    const double total = SecondsSince(start);
    std::printf("migration: %zu callers, %zu calls: %.2f s copied, %.2f s with the erase\n",
                LoadCallers(outcome.callerFile).size(), LoadCalls(outcome.callFile).size(), copied,
                total);
    std::printf("legacy tree left: %s\n", machine.SectionExists(legacy) ? "yes" : "no");

    const std::string importFile = folder + "\\import.txt";
    {
        std::ofstream out(importFile, std::ios::binary);
        for (unsigned i = 0; i < 100000; ++i)
            out << "0711 " << i << ", Anrufer " << i << ", c:\\klang\\ring.wav, -a -b\r\n";
    }
    const Clock::time_point importStart = Clock::now();
    const auto rows = ImportCallerFile(importFile, ",");
    std::printf("import: %zu rows of 100000 lines in %.3f s\n", rows ? rows->size() : 0,
                SecondsSince(importStart));
    return 0;
}
