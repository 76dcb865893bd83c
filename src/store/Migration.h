#pragma once
// Moves the data of earlier versions into this version's places at start-up. Earlier versions
// kept everything, the caller database and the call list included, as registry values under
// the local machine's "Software\Orbek\Telvor"; this version keeps settings and MSNs in the
// current user's tree and the two lists in record files.
//
// The steps run against two stores: the current user's tree and the local machine's root (the
// legacy tree lies at kLegacyTreePath below it). Store errors of reads and of writes to the
// current tree are not caught: they end start-up with the store's error box, and whatever was
// not yet copied stays in the legacy tree for the next start.
//
// The legacy tree is taken over once. Erasing it needs write access to the local machine's
// tree, which a user without administrator rights on NT does not have; a tree that stays must
// not be copied over newer data at every later start. So the take-over is recorded in the
// current user's tree, as the value kLegacyMigratedValue ("LegacyMigrated") in "Settings":
//   missing or "0"   the legacy tree, where there is one, has not been taken over yet;
//   "1"              taken over completely: the tree is never read again, and only its erase
//                    is tried again at each start (an administrator's start removes it);
//   "CallerList", "Calls" or "CallerList Calls"
//                    taken over except the lists named, whose files could not be written:
//                    these alone are tried again at each start while their section is there.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/LocaleDateTime.h"
#include "store/SettingsStore.h"

namespace telvor {

inline constexpr std::string_view kLegacyTreePath = "Software\\Orbek\\Telvor";
inline constexpr std::string_view kLegacyMigratedValue = "LegacyMigrated";

// Names and texts of all values of one legacy section (a path below the legacy store's
// root), in enumeration order. The registry reads them in one pass over one open key instead
// of opening the key once per value, which is what makes 10 000 legacy callers and calls cheap.
using SectionValues = std::vector<std::pair<std::string, std::string>>;
using SectionValuesReader = std::function<SectionValues(const std::string& section)>;

struct MigrationContext {
    std::string exePath;           // the defaults of CallerFile and CallFile
    DateTimeParser parseDateTime;  // the system's date and time format; may be empty
    // Optional: without it the values are read one by one through the legacy store.
    SectionValuesReader readLegacySection = {};
};

// What the steps found. A section whose copy could not be written completely is kept in the
// legacy tree, so that the next start tries again.
struct MigrationOutcome {
    std::string callerFile;  // the settled paths of the two record files
    std::string callFile;
    std::size_t excludedMsns = 0;
    std::size_t callers = 0;
    std::size_t calls = 0;
    std::size_t settings = 0;
    std::size_t msns = 0;
    bool callersKept = false;  // the caller database file could not be written
    bool callsKept = false;    // the call list file could not be written
    bool copied = false;       // this start took the legacy tree over (the first that found it)
};

// Steps 1 to 8, in this order: excluded MSNs, obsolete values, file paths, caller list, call
// list, global ring sound, settings, MSNs.
MigrationOutcome MigrateLegacyData(SettingsStore& current, SettingsStore& legacyRoot,
                                   const MigrationContext& context);

// Step 9: erases the legacy tree with everything left in it, except the sections the outcome
// says were kept. A refused erase (silently ignored, or raised as a store error) does not end
// start-up; it is reported so that the user hears of it once: only by the start that copied
// the tree, not by the later ones that find it still there.
struct LegacyEraseResult {
    bool legacyEraseFailed = false;
};
LegacyEraseResult EraseLegacyTree(SettingsStore& legacyRoot, const MigrationOutcome& outcome);

// Step 10, from the stored "Version" (read with default "no").
struct StartupVersion {
    bool firstRun = false;          // a first start, or data of 1.01 or 1.05
    bool writeShareRecord = false;  // anything but "2.00"
};
StartupVersion DecideStartupVersion(std::string_view storedVersion);

}  // namespace telvor
