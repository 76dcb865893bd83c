// Start-up migration of the local machine's legacy tree into the current user's tree and the
// two record files, against two in-memory trees and a temp folder.
#include "store/Migration.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

#include "store/AppSettings.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "store/MemorySettingsStore.h"
#include "support/TempFolder.h"

namespace telvor {
namespace {

using testing::ReadBytes;
using testing::WriteText;

const std::string kLegacy = "Software\\Orbek\\Telvor\\";

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// A store whose writes of one value name fail, as the registry does without write access.
class RefusingStore : public MemorySettingsStore {
  public:
    explicit RefusingStore(std::string refused) : refused_(std::move(refused)) {}
    void WriteString(std::string_view section, std::string_view name,
                     std::string_view text) override {
        if (name == refused_) throw StoreError(61628, "Konnte Daten nicht setzen");
        MemorySettingsStore::WriteString(section, name, text);
    }

  private:
    std::string refused_;
};

// The local machine's tree as a user without administrator rights meets it: it can be read,
// but erases are refused, silently (as the registry store does) or with the store's error.
class LegacyTree : public MemorySettingsStore {
  public:
    enum class Erase { Allowed, IgnoredSilently, RaisesError };
    Erase erase = Erase::Allowed;

    void EraseSection(std::string_view section) override {
        if (Refused()) return;
        MemorySettingsStore::EraseSection(section);
    }
    void DeleteValue(std::string_view section, std::string_view name) override {
        if (Refused()) return;
        MemorySettingsStore::DeleteValue(section, name);
    }

  private:
    bool Refused() const {
        if (erase == Erase::RaisesError) throw StoreError(61627, "Zugriff verweigert");
        return erase == Erase::IgnoredSilently;
    }
};

class MigrationTest : public ::testing::Test {
  protected:
    MigrationTest() {
        current_.WriteString("Settings", "CallerFile", callerFile_);
        current_.WriteString("Settings", "CallFile", callFile_);
    }

    void Legacy(const std::string& section, const std::string& name, const std::string& text) {
        legacy_.WriteString(kLegacy + section, name, text);
    }
    void LegacyCall(unsigned index, const std::string& date, const std::string& time,
                    const std::string& name = "Anrufer", const std::string& called = "123") {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08X", index);
        const std::string section = std::string("Calls\\") + digits;
        Legacy(section, "Date", date);
        Legacy(section, "Time", time);
        Legacy(section, "Name", name);
        Legacy(section, "Called", called);
    }

    MigrationOutcome Run(SettingsStore& current) {
        MigrationContext context{"C:\\Telvor\\Telvor.exe", [](std::string_view text) {
                                     return ParseDateTime(text, DateTimeFormat{});
                                 }};
        MigrationOutcome outcome = MigrateLegacyData(current, legacy_, context);
        erased_ = EraseLegacyTree(legacy_, outcome);
        return outcome;
    }
    MigrationOutcome Run() { return Run(current_); }

    testing::TempFolder folder_;
    const std::string callerFile_ = folder_.File("CallerList.ddb");
    const std::string callFile_ = folder_.File("Calls.ddb");
    MemorySettingsStore current_;
    LegacyTree legacy_;
    LegacyEraseResult erased_;
};

TEST_F(MigrationTest, NothingToMoveLeavesFilesAndTreeAlone) {
    legacy_.WriteString("Software\\Other", "Keep", "1");
    const MigrationOutcome out = Run();
    EXPECT_FALSE(Exists(callerFile_));
    EXPECT_FALSE(Exists(callFile_));
    EXPECT_FALSE(current_.SectionExists("MSNs"));
    EXPECT_EQ(out.callerFile, callerFile_);
    // Only the legacy tree goes; its neighbours in the local machine's "Software" stay.
    EXPECT_EQ(legacy_.ReadString("Software\\Other", "Keep", ""), "1");
}

TEST_F(MigrationTest, FilePathsDefaultToTheProgramFolder) {
    MemorySettingsStore fresh;
    const MigrationOutcome out = Run(fresh);
    EXPECT_EQ(out.callerFile, "C:\\Telvor\\CallerList.ddb");
    EXPECT_EQ(out.callFile, "C:\\Telvor\\Calls.ddb");
}

TEST_F(MigrationTest, ExcludedMsnsBecomeEntriesNeitherShownNorRecorded) {
    Legacy("ExcludedMSNs", "4711", "");
    Legacy("ExcludedMSNs", "4712", "");
    const MigrationOutcome out = Run();
    EXPECT_EQ(out.excludedMsns, 2u);
    const std::vector<MsnEntry> msns = ReadMsnList(current_);
    ASSERT_EQ(msns.size(), 2u);
    EXPECT_EQ(msns[0].number, "4711");
    EXPECT_EQ(msns[1].number, "4712");
    for (const MsnEntry& e : msns)
        for (bool flag : e.flags) EXPECT_FALSE(flag);
    EXPECT_EQ(current_.ReadString("MSNs\\00000001\\Record", "Else", "?"), "0");
    EXPECT_FALSE(legacy_.SectionExists(kLegacy + "ExcludedMSNs"));
}

TEST_F(MigrationTest, LegacyMsnsOverwriteConvertedExcludedMsnsOfTheSameNumber) {
    Legacy("ExcludedMSNs", "111", "");
    Legacy("ExcludedMSNs", "222", "");
    Legacy("MSNs\\00000000", "Number", "999");
    Legacy("MSNs\\00000000", "Name", "Büro");
    Legacy("MSNs\\00000000", "dmail", "yes");  // not a number: the default, false
    Legacy("MSNs\\00000000\\Show", "Audio", "0x0");
    Legacy("MSNs\\00000000\\Record", "CallerKnown", "2");
    Run();
    const std::vector<MsnEntry> msns = ReadMsnList(current_);
    ASSERT_EQ(msns.size(), 2u);
    EXPECT_EQ(msns[0].number, "999");
    EXPECT_EQ(msns[0].name, "Büro");
    EXPECT_FALSE(msns[0].flags[ShowAudio]);
    EXPECT_TRUE(msns[0].flags[ShowData]);  // missing service flags default to true
    EXPECT_EQ(msns[1].number, "222");      // the second excluded MSN is not overwritten
    EXPECT_FALSE(msns[1].flags[ShowData]);
    // Booleans arrive as "0"/"1" whatever form they had.
    EXPECT_EQ(current_.ReadString("MSNs\\00000000", "dmail", ""), "0");
    EXPECT_EQ(current_.ReadString("MSNs\\00000000\\Show", "Audio", ""), "0");
    EXPECT_EQ(current_.ReadString("MSNs\\00000000\\Record", "CallerKnown", ""), "1");
    EXPECT_FALSE(legacy_.SectionExists("Software\\Orbek\\Telvor"));
}

TEST_F(MigrationTest, CallerListBecomesTheDatabaseAndTheOldFileItsBackup) {
    WriteText(callerFile_, std::string(kCallerRecordSize, 'x'));
    WriteText(BackupName(callerFile_), "older");
    Legacy("CallerList", "0711123*", "Hans Muster");
    Legacy("CallerList", "0711456", "Firma");
    Legacy("CallerList\\0711123*", "Programme", "c:\\hans.wav");
    Legacy("CallerList\\0711123", "Programme", "wrong.wav");  // the section without '*'
    const MigrationOutcome out = Run();
    EXPECT_EQ(out.callers, 2u);
    const std::vector<CallerRecord> records = LoadCallers(callerFile_);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].number, "0711123");
    EXPECT_EQ(records[0].name, "Hans Muster");
    EXPECT_EQ(records[0].program, "c:\\hans.wav");
    EXPECT_EQ(records[1].number, "0711456");
    EXPECT_EQ(records[1].program, "");
    for (const CallerRecord& r : records) {
        EXPECT_FALSE(r.dmail);
        EXPECT_EQ(r.parameter, "");
    }
    const std::vector<unsigned char> bytes = ReadBytes(callerFile_);
    EXPECT_EQ(std::string(bytes.begin() + 61, bytes.begin() + 64), "DM0");
    // The file that was there is the backup now; the older backup is gone.
    EXPECT_EQ(ReadBytes(BackupName(callerFile_)).size(), kCallerRecordSize);
    EXPECT_FALSE(legacy_.SectionExists(kLegacy + "CallerList"));
}

TEST_F(MigrationTest, LongCallerTextsAreCutToTheirFields) {
    Legacy("CallerList", std::string(70, '1') + "*", std::string(300, 'n'));
    Run();
    const std::vector<CallerRecord> records = LoadCallers(callerFile_);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].number, std::string(60, '1'));
    EXPECT_EQ(records[0].name.size(), 255u);
}

TEST_F(MigrationTest, CallsUpToTheFirstGapWithParsedTimes) {
    LegacyCall(0, "24.12.1999", "18:30:15", "Hans Muster", "4711");
    LegacyCall(1, "kein Datum", "18:30", "0711 1");
    LegacyCall(3, "01.01.2000", "00:00:00");  // behind the gap at 00000002
    WriteText(callFile_, "old");
    const MigrationOutcome out = Run();
    EXPECT_EQ(out.calls, 2u);
    const std::vector<CallRecord> calls = LoadCalls(callFile_);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "Hans Muster");
    EXPECT_EQ(calls[0].called, "4711");
    EXPECT_DOUBLE_EQ(calls[0].time, EncodeDateTime(1999, 12, 24, 18, 30, 15));
    EXPECT_TRUE(calls[0].notInDatabase);
    EXPECT_EQ(calls[1].time, 0.0);  // not a date: 30 December 1899
    EXPECT_TRUE(calls[1].notInDatabase);
    EXPECT_EQ(ReadBytes(BackupName(callFile_)).size(), 3u);
    EXPECT_FALSE(legacy_.SectionExists(kLegacy + "Calls"));
}

TEST_F(MigrationTest, SectionsReadInOnePassMatchNamesWithoutRegardToCase) {
    Legacy("Calls\\00000000", "DATE", "24.12.1999");
    Legacy("Calls\\00000000", "time", "18:30:15");
    Legacy("Calls\\00000000", "NAME", "Hans");
    Legacy("CallerList", "0711*", "Hans");
    Legacy("CallerList", "0712", "Eva");
    Legacy("CallerList\\0711*", "Programme", "p.exe");
    std::vector<std::string> read;
    MigrationContext context{
        "C:\\Telvor.exe",
        [](std::string_view text) { return ParseDateTime(text, DateTimeFormat{}); },
        [&](const std::string& section) {
            read.push_back(section);
            SectionValues values;
            for (const std::string& name : legacy_.ReadSection(section))
                values.emplace_back(name, legacy_.ReadString(section, name, ""));
            return values;
        }};
    MigrateLegacyData(current_, legacy_, context);
    const std::vector<CallRecord> calls = LoadCalls(callFile_);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].name, "Hans");
    EXPECT_DOUBLE_EQ(calls[0].time, EncodeDateTime(1999, 12, 24, 18, 30, 15));
    const std::vector<CallerRecord> callers = LoadCallers(callerFile_);
    ASSERT_EQ(callers.size(), 2u);
    EXPECT_EQ(callers[0].program, "p.exe");
    EXPECT_EQ(callers[1].program, "");
    EXPECT_EQ(read.front(), kLegacy + "CallerList");
}

TEST_F(MigrationTest, CallsWithoutAFirstEntryAreErasedWithoutTouchingTheFile) {
    LegacyCall(1, "24.12.1999", "18:30:15");
    WriteText(callFile_, "kept");
    Run();
    EXPECT_EQ(ReadBytes(callFile_).size(), 4u);
    EXPECT_FALSE(Exists(BackupName(callFile_)));
    EXPECT_FALSE(legacy_.SectionExists(kLegacy + "Calls"));
}

TEST_F(MigrationTest, RingSoundRunsBeforeTheLegacySettingsArrive) {
    current_.WriteString("MSNs\\00000000", "Number", "1");
    current_.WriteString("MSNs\\00000000", "Parameter", "-x");
    current_.WriteString("MSNs\\00000001", "Number", "2");
    current_.WriteString("Settings", "PlaySound", "1");
    current_.WriteString("Settings", "RingSound", "ring.wav");
    Legacy("Settings", "PlaySound", "1");
    Legacy("Settings", "RingSound", "legacy.wav");
    Legacy("Settings", "ProtocolFile", "c:\\old.log");
    Legacy("Settings", "ShowCalls", "1");
    Legacy("Settings", "Alert", "0");
    Run();
    for (const char* msn : {"MSNs\\00000000", "MSNs\\00000001"}) {
        EXPECT_EQ(current_.ReadString(msn, "Programm", ""), "ring.wav");
        EXPECT_EQ(current_.ReadString(msn, "Parameter", "?"), "");
    }
    // The legacy values arrive after step 6: they are turned into programs at the next start.
    EXPECT_EQ(current_.ReadString("Settings", "PlaySound", ""), "1");
    EXPECT_EQ(current_.ReadString("Settings", "RingSound", ""), "legacy.wav");
    EXPECT_EQ(current_.ReadString("Settings", "Alert", ""), "0");
    EXPECT_FALSE(current_.ValueExists("Settings", "ProtocolFile"));
    EXPECT_FALSE(current_.ValueExists("Settings", "ShowCalls"));

    Run();
    EXPECT_EQ(current_.ReadString("MSNs\\00000001", "Programm", ""), "legacy.wav");
    EXPECT_EQ(current_.ReadString("Settings", "PlaySound", ""), "0");
    EXPECT_EQ(current_.ReadString("Settings", "RingSound", "?"), "");
}

TEST_F(MigrationTest, ACallerFileThatCannotBeWrittenKeepsTheLegacyCallersForTheNextStart) {
    current_.WriteString("Settings", "CallerFile", folder_.File("missing\\dir/CallerList.ddb"));
    Legacy("CallerList", "0711", "Hans");
    Legacy("CallerList\\0711", "Programme", "p.exe");
    LegacyCall(0, "24.12.1999", "18:30:15");
    Legacy("Settings", "Alert", "0");
    Legacy("MSNs\\00000000", "Number", "1");
    const MigrationOutcome out = Run();
    EXPECT_TRUE(out.callersKept);
    EXPECT_FALSE(out.callsKept);
    EXPECT_EQ(legacy_.ReadString(kLegacy + "CallerList", "0711", ""), "Hans");
    EXPECT_EQ(legacy_.ReadString(kLegacy + "CallerList\\0711", "Programme", ""), "p.exe");
    // Everything else is gone, so the next start does not copy it over newer data again.
    EXPECT_FALSE(legacy_.SectionExists(kLegacy + "Calls"));
    EXPECT_FALSE(legacy_.SectionExists(kLegacy + "Settings"));
    EXPECT_FALSE(legacy_.SectionExists(kLegacy + "MSNs"));
    EXPECT_EQ(LoadCalls(callFile_).size(), 1u);

    // The next start, with the path repaired, moves the callers.
    current_.WriteString("Settings", "CallerFile", callerFile_);
    Run();
    EXPECT_EQ(LoadCallers(callerFile_).size(), 1u);
    EXPECT_FALSE(legacy_.SectionExists("Software\\Orbek\\Telvor"));
}

TEST_F(MigrationTest, ACallFileThatCannotBeWrittenKeepsTheLegacyCalls) {
    current_.WriteString("Settings", "CallFile", folder_.File("missing/Calls.ddb"));
    LegacyCall(0, "24.12.1999", "18:30:15");
    const MigrationOutcome out = Run();
    EXPECT_TRUE(out.callsKept);
    EXPECT_EQ(legacy_.ReadString(kLegacy + "Calls\\00000000", "Time", ""), "18:30:15");
}

TEST_F(MigrationTest, ARefusedSettingsWriteKeepsTheLegacySettingsAndStopsStartUp) {
    RefusingStore current("Alert");
    current.WriteString("Settings", "CallerFile", callerFile_);
    Legacy("Settings", "DMPath", "x.exe");
    Legacy("Settings", "Alert", "0");
    Legacy("MSNs\\00000000", "Number", "1");
    MigrationContext context{"C:\\Telvor.exe", {}};
    EXPECT_THROW(MigrateLegacyData(current, legacy_, context), StoreError);
    EXPECT_EQ(legacy_.ReadString(kLegacy + "Settings", "Alert", ""), "0");
    EXPECT_EQ(legacy_.ReadString(kLegacy + "MSNs\\00000000", "Number", ""), "1");
}

TEST_F(MigrationTest, ALegacyTreeThatCannotBeErasedIsTakenOverOnceAndReportedOnce) {
    Legacy("Settings", "Alert", "0");
    Legacy("MSNs\\00000000", "Number", "1");
    Legacy("MSNs\\00000000", "Name", "Alt");
    Legacy("CallerList", "0711", "Hans");
    LegacyCall(0, "24.12.1999", "18:30:15");
    legacy_.erase = LegacyTree::Erase::IgnoredSilently;
    const MigrationOutcome first = Run();
    EXPECT_TRUE(first.copied);
    EXPECT_TRUE(erased_.legacyEraseFailed);
    EXPECT_TRUE(legacy_.SectionExists("Software\\Orbek\\Telvor"));
    EXPECT_EQ(current_.ReadString("Settings", "LegacyMigrated", ""), "1");

    // The user's newer data survives every later start, which says nothing more.
    current_.WriteString("Settings", "Alert", "1");
    current_.WriteString("MSNs\\00000000", "Name", "Neu");
    ASSERT_TRUE(ReplaceCallers(callerFile_, {{"0711", "Hans Neu", "", ""}}));
    const auto calls = ReadBytes(callFile_);
    const MigrationOutcome later = Run();
    EXPECT_FALSE(later.copied);
    EXPECT_FALSE(erased_.legacyEraseFailed);
    EXPECT_EQ(current_.ReadString("Settings", "Alert", ""), "1");
    EXPECT_EQ(current_.ReadString("MSNs\\00000000", "Name", ""), "Neu");
    EXPECT_EQ(LoadCallers(callerFile_).at(0).name, "Hans Neu");
    EXPECT_EQ(ReadBytes(callFile_), calls);

    // A start allowed to erase removes the tree at last, without copying it.
    legacy_.erase = LegacyTree::Erase::Allowed;
    Run();
    EXPECT_FALSE(legacy_.SectionExists("Software\\Orbek\\Telvor"));
    EXPECT_EQ(current_.ReadString("Settings", "Alert", ""), "1");
}

TEST_F(MigrationTest, AListWaitingForItsFileIsTheOnlyPartCopiedAgain) {
    current_.WriteString("Settings", "CallerFile", folder_.File("missing/CallerList.ddb"));
    Legacy("Settings", "Alert", "0");
    Legacy("CallerList", "0711", "Hans");
    legacy_.erase = LegacyTree::Erase::RaisesError;  // does not end start-up
    const MigrationOutcome first = Run();
    EXPECT_TRUE(first.callersKept);
    EXPECT_TRUE(erased_.legacyEraseFailed);
    EXPECT_EQ(current_.ReadString("Settings", "LegacyMigrated", ""), "CallerList");

    current_.WriteString("Settings", "Alert", "1");
    current_.WriteString("Settings", "CallerFile", callerFile_);
    Run();
    EXPECT_EQ(LoadCallers(callerFile_).size(), 1u);
    EXPECT_EQ(current_.ReadString("Settings", "Alert", ""), "1");
    EXPECT_EQ(current_.ReadString("Settings", "LegacyMigrated", ""), "1");
    EXPECT_FALSE(erased_.legacyEraseFailed);

    ASSERT_TRUE(ReplaceCallers(callerFile_, {}));
    Run();
    EXPECT_TRUE(LoadCallers(callerFile_).empty());
}

TEST(StartupVersion, FirstRunAndShareRecordFollowTheStoredVersion) {
    for (const char* v : {"no", "1.01", "1.05"}) {
        EXPECT_TRUE(DecideStartupVersion(v).firstRun) << v;
        EXPECT_TRUE(DecideStartupVersion(v).writeShareRecord) << v;
    }
    EXPECT_FALSE(DecideStartupVersion("2.00").firstRun);
    EXPECT_FALSE(DecideStartupVersion("2.00").writeShareRecord);
    EXPECT_FALSE(DecideStartupVersion("1.50").firstRun);
    EXPECT_TRUE(DecideStartupVersion("1.50").writeShareRecord);
}

}  // namespace
}  // namespace telvor
