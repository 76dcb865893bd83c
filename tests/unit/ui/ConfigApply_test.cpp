// The apply step: what it writes, in which order, and that a file that cannot be written is
// reported instead of being passed off as done.
#include "ui/ConfigApply.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "base/StringTable.h"
#include "store/MemorySettingsStore.h"
#include "support/TempFolder.h"

namespace telvor {
namespace {

// One log for store writes and outside effects, so their relative order is visible.
using Log = std::vector<std::string>;

class RecordingStore : public MemorySettingsStore {
  public:
    explicit RecordingStore(Log& log) : log_(log) {}
    void WriteString(std::string_view section, std::string_view name,
                     std::string_view text) override {
        log_.push_back(std::string(section) + "/" + std::string(name) + "=" + std::string(text));
        MemorySettingsStore::WriteString(section, name, text);
    }
    void EraseSection(std::string_view section) override {
        log_.push_back("erase " + std::string(section));
        MemorySettingsStore::EraseSection(section);
    }

  private:
    Log& log_;
};

class RecordingEffects : public ApplyEffects {
  public:
    explicit RecordingEffects(Log& log) : log_(log) {}
    bool ReplaceCallerFile(const std::string& path, const std::vector<CallerRow>& rows) override {
        log_.push_back("callers " + path + " " + std::to_string(rows.size()));
        callers = rows;
        return callersOk;
    }
    bool ReplaceCallFile(const std::string& path, const CallSource& source) override {
        log_.push_back("calls " + path + " " + std::to_string(source.Count()));
        calls.clear();
        for (std::size_t i = 0; i < source.Count(); ++i) {
            const CallView call = source.At(i);
            calls.push_back(
                {std::string(call.name), std::string(call.called), call.time, call.notInDatabase});
        }
        return callsOk;
    }
    void StartNetDde() override { log_.push_back("netdde"); }
    bool SetStartAtLogon(bool wanted) override {
        logonWanted = wanted;
        return logonOk;
    }

    bool callersOk = true;
    bool logonOk = true;
    std::optional<bool> logonWanted;
    bool callsOk = true;
    std::vector<CallerRow> callers;
    std::vector<CallRecord> calls;

  private:
    Log& log_;
};

ConfigContent SampleContent() {
    ConfigContent c;
    c.callers = {{"0711123", "Hans", "", "X"}};
    MsnRow msn;
    msn.number = "4711";
    msn.name = "Büro";
    msn.programColumn = "\"c:\\ring.wav\" -x";
    msn.flags[RecordAudio] = false;
    c.msns = {msn};
    c.options.closeTimePosition = 90;
    c.options.nationalCalls = "0";
    c.options.internationalCalls = "00";
    c.options.dmWhen = 3;
    return c;
}

// The dialog's call list, as the rows it writes from.
const std::vector<CallRecord> kCalls = {{"Hans", "Büro (4711)", 46364.25, false}};
const CallRecordSource kCallRows(kCalls);

std::size_t IndexOf(const Log& log, const std::string& entry) {
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i] == entry) return i;
    ADD_FAILURE() << "not written: " << entry;
    return log.size();
}

TEST(ApplyConfiguration, WritesFilesMsnsAndOptionsInTheirOrder) {
    Log log;
    RecordingStore store(log);
    RecordingEffects effects(log);
    AppSettings settings;
    settings.callerFile = "C.ddb";
    settings.callFile = "K.ddb";
    ConfigContent content = SampleContent();
    content.options.enableNetDde = true;

    const ApplyResult result = ApplyConfiguration(content, kCallRows, store, settings, effects);
    EXPECT_TRUE(result.Done());

    // Caller file first, call file last; the MSN section is erased before its entries.
    EXPECT_EQ(log.front(), "callers C.ddb 1");
    EXPECT_EQ(log.back(), "calls K.ddb 1");
    const std::vector<std::string> order = {
        "erase MSNs",
        "MSNs\\00000000/Number=4711",
        "netdde",
        "Settings/CloseCallerForms=0",
        "Settings/CloseTime=90000",
        "Settings/CloseAfterTime=1",
        "Settings/CloseAfterConnect=0",
        "Settings/InitAlways=0",
        "Settings/NationalCalls=0",
        "Settings/InternationalCalls=00",
        "Settings/Alert=1",
        "Settings/DMWhenMessage=3",
        "Settings/DMPath=",
        "Settings/DMReceiver=",
        "Settings/DMMessage=",
    };
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(IndexOf(log, order[i - 1]), IndexOf(log, order[i])) << order[i];
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& e) { return e.find("EnableNetDDE") != e.npos; }),
              0);

    // The running monitor sees the options at once.
    EXPECT_EQ(settings.closeTime, 90000);
    EXPECT_EQ(settings.dmWhenMessage, 3);
    EXPECT_TRUE(settings.enableNetDde);
    // The MSN row went in as an entry: program split, dmail from the empty column, flags.
    MsnEntry stored;
    ASSERT_TRUE(ReadMsnEntry(store, 0, stored));
    EXPECT_EQ(stored.name, "Büro");
    EXPECT_EQ(stored.programm, "c:\\ring.wav");
    EXPECT_EQ(stored.parameter, "-x");
    EXPECT_FALSE(stored.dmail);
    EXPECT_FALSE(stored.flags[RecordAudio]);
    EXPECT_TRUE(stored.flags[ShowAudio]);
    ASSERT_EQ(effects.calls.size(), 1u);
    EXPECT_EQ(effects.calls[0].called, "Büro (4711)");
    EXPECT_DOUBLE_EQ(effects.calls[0].time, 46364.25);
}

TEST(ApplyConfiguration, NetworkServiceStartsOnlyWhenForwardingIsOn) {
    Log log;
    RecordingStore store(log);
    RecordingEffects effects(log);
    AppSettings settings;
    ApplyConfiguration(SampleContent(), kCallRows, store, settings, effects);
    EXPECT_EQ(std::count(log.begin(), log.end(), "netdde"), 0);
}

TEST(ApplyConfiguration, AFileThatCannotBeWrittenIsReportedAndTheRestStillStored) {
    Log log;
    RecordingStore store(log);
    RecordingEffects effects(log);
    effects.callersOk = false;
    AppSettings settings;
    ApplyResult result = ApplyConfiguration(SampleContent(), kCallRows, store, settings, effects);
    EXPECT_FALSE(result.Done());
    EXPECT_FALSE(result.callerFileWritten);
    EXPECT_TRUE(result.callFileWritten);
    EXPECT_EQ(store.ReadString("Settings", "CloseTime", "?"), "90000");

    effects.callersOk = true;
    effects.callsOk = false;
    result = ApplyConfiguration(SampleContent(), kCallRows, store, settings, effects);
    EXPECT_FALSE(result.Done());
    EXPECT_FALSE(result.callFileWritten);
}

TEST(ApplyConfiguration, AStartAtLogonTheShellRefusesIsReportedAndTheRestStillStored) {
    Log log;
    RecordingStore store(log);
    RecordingEffects effects(log);
    effects.logonOk = false;
    AppSettings settings;
    ConfigContent content = SampleContent();
    content.options.startAtLogon = true;
    const ApplyResult result = ApplyConfiguration(content, kCallRows, store, settings, effects);
    EXPECT_EQ(effects.logonWanted, std::optional<bool>(true));
    EXPECT_FALSE(result.Done());
    EXPECT_FALSE(result.startAtLogonSet);
    EXPECT_TRUE(result.callerFileWritten && result.callFileWritten);
    EXPECT_EQ(store.ReadString("Settings", "CloseTime", "?"), "90000");
}

TEST(ApplyConfiguration, RealFilesLeaveOutUnnamedEntriesAndKeepMsnPlaceholders) {
    LoadStartupTexts();
    testing::TempFolder dir;
    MemorySettingsStore store;
    ApplyEffects effects;
    AppSettings settings;
    settings.callerFile = dir.File("CallerList.ddb");
    settings.callFile = dir.File("Calls.ddb");
    ConfigContent content = SampleContent();
    content.callers.push_back(NewCallerRow());
    content.msns.push_back(NewMsnRow());
    ASSERT_TRUE(ApplyConfiguration(content, kCallRows, store, settings, effects).Done());
    const auto callers = LoadCallers(settings.callerFile);
    ASSERT_EQ(callers.size(), 1u);
    EXPECT_EQ(callers[0].number, "0711123");
    EXPECT_TRUE(callers[0].dmail);
    EXPECT_EQ(ReadMsnList(store).size(), 2u);
    EXPECT_EQ(ReadMsnList(store)[1].number, "Neue MSN");
    EXPECT_EQ(LoadCalls(settings.callFile).size(), 1u);
}

TEST(ApplyConfiguration, AnUnwritableCallerFileKeepsTheOldFile) {
    testing::TempFolder dir;
    MemorySettingsStore store;
    ApplyEffects effects;
    AppSettings settings;
    // A folder where the file should be: the replace cannot write it.
    settings.callerFile = dir.File("missing-folder/CallerList.ddb");
    settings.callFile = dir.File("Calls.ddb");
    const ApplyResult result =
        ApplyConfiguration(SampleContent(), kCallRows, store, settings, effects);
    EXPECT_FALSE(result.callerFileWritten);
    EXPECT_TRUE(result.callFileWritten);
}

}  // namespace
}  // namespace telvor
