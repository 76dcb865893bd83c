// The global settings with their defaults, and the MSN list walk and write.
#include "store/AppSettings.h"

#include <gtest/gtest.h>

#include "store/MemorySettingsStore.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

TEST(AppSettings, DefaultsOfAnEmptyTreeDeriveTheFilePathsFromTheProgram) {
    MemorySettingsStore store;
    AppSettings a = ReadAppSettings(store, "C:\\Programme\\Telvor.dir\\Telvor.exe");
    EXPECT_FALSE(a.closeCallerForms);
    EXPECT_EQ(a.closeTime, 60000);
    EXPECT_TRUE(a.closeAfterTime);
    EXPECT_FALSE(a.closeAfterConnect);
    EXPECT_TRUE(a.alert);
    EXPECT_FALSE(a.initAlways);
    EXPECT_EQ(a.dmWhenMessage, 2);
    EXPECT_EQ(a.dmPath, "c:\\Programme\\dmail\\dmail.exe");
    EXPECT_EQ(a.dmReceiver, "");
    EXPECT_EQ(a.dmMessage, LoadStr(67));
    EXPECT_TRUE(a.enableNetDde);
    EXPECT_EQ(a.callerFile, "C:\\Programme\\Telvor.dir\\CallerList.ddb");
    EXPECT_EQ(a.callFile, "C:\\Programme\\Telvor.dir\\Calls.ddb");
    EXPECT_EQ(a.logFile, "C:\\Programme\\Telvor.dir\\Telvor.log");
    // Reading creates nothing: a fresh installation stays empty until the first write.
    EXPECT_FALSE(store.SectionExists("Settings"));
}

TEST(AppSettings, LogFileNameOfProgramPathsWithoutPlainExtension) {
    MemorySettingsStore store;
    EXPECT_EQ(ReadAppSettings(store, "C:\\Tel.vor\\Telvor").logFile, "C:\\Tel.vor\\Telvor.log");
    EXPECT_EQ(ReadAppSettings(store, "C:\\a\\Telvor.old.exe").logFile, "C:\\a\\Telvor.old.log");
    AppSettings bare = ReadAppSettings(store, "Telvor.exe");
    EXPECT_EQ(bare.logFile, "Telvor.log");
    EXPECT_EQ(bare.callerFile, "CallerList.ddb");
}

TEST(AppSettings, StoredValuesWinAndWriteReadRoundTrips) {
    MemorySettingsStore store;
    store.WriteString("Settings", "CallerFile", "D:\\db\\c.ddb");
    store.WriteString("Settings", "LOGFile", "D:\\log.txt");
    store.WriteString("Settings", "EnableNetDDE", "0");
    AppSettings a = ReadAppSettings(store, "C:\\x\\Telvor.exe");
    EXPECT_EQ(a.callerFile, "D:\\db\\c.ddb");
    EXPECT_EQ(a.callFile, "C:\\x\\Calls.ddb");
    EXPECT_EQ(a.logFile, "D:\\log.txt");
    EXPECT_FALSE(a.enableNetDde);

    a.closeCallerForms = true;
    a.closeTime = 90000;
    a.closeAfterTime = false;
    a.closeAfterConnect = true;
    a.alert = false;
    a.initAlways = true;
    a.dmWhenMessage = 3;
    a.dmPath = "d.exe";
    a.dmReceiver = "Chef";
    a.dmMessage = "Anruf für &MSN";
    a.enableNetDde = true;     // stored at program end only, never by the dialog's write
    a.callFile = "elsewhere";  // never written by the program
    WriteAppSettings(store, a);
    EXPECT_EQ(store.ReadString("Settings", "CloseTime", ""), "90000");
    EXPECT_EQ(store.ReadString("Settings", "CloseAfterTime", ""), "0");
    EXPECT_EQ(store.ReadString("Settings", "EnableNetDDE", ""), "0");
    EXPECT_FALSE(store.ValueExists("Settings", "CallFile"));

    AppSettings back = ReadAppSettings(store, "C:\\x\\Telvor.exe");
    EXPECT_TRUE(back.closeCallerForms);
    EXPECT_EQ(back.closeTime, 90000);
    EXPECT_FALSE(back.closeAfterTime);
    EXPECT_TRUE(back.closeAfterConnect);
    EXPECT_FALSE(back.alert);
    EXPECT_TRUE(back.initAlways);
    EXPECT_EQ(back.dmWhenMessage, 3);
    EXPECT_EQ(back.dmPath, "d.exe");
    EXPECT_EQ(back.dmReceiver, "Chef");
    EXPECT_EQ(back.dmMessage, "Anruf für &MSN");
}

TEST(MsnList, SectionNamesAreEightUpperCaseHexDigits) {
    EXPECT_EQ(MsnSectionName(0), "MSNs\\00000000");
    EXPECT_EQ(MsnSectionName(10), "MSNs\\0000000A");
    EXPECT_EQ(MsnSectionName(0xABCDEF12u), "MSNs\\ABCDEF12");
    EXPECT_EQ(MsnSectionName(0xFFFFFFFFu), "MSNs\\FFFFFFFF");
}

TEST(MsnList, FlagsDefaultToServicesOnAndCallerKnownOff) {
    MsnFlags flags = DefaultMsnFlags();
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(flags[i], i != ShowCallerKnown && i != RecordCallerKnown) << i;

    MemorySettingsStore store;
    store.WriteString("MSNs\\00000000", "Number", "4711");
    store.WriteString("MSNs\\00000000\\Record", "Fax4", "0");
    store.WriteString("MSNs\\00000000\\Show", "CallerKnown", "1");
    MsnEntry entry;
    entry.dmail = true;  // stale content of a reused entry must not survive
    entry.name = "old";
    ASSERT_TRUE(ReadMsnEntry(store, 0, entry));
    EXPECT_EQ(entry.number, "4711");
    EXPECT_EQ(entry.name, "");
    EXPECT_FALSE(entry.dmail);
    MsnFlags expected = DefaultMsnFlags();
    expected[RecordFax4] = false;
    expected[ShowCallerKnown] = true;
    EXPECT_EQ(entry.flags, expected);
}

TEST(MsnList, WalkStopsAtTheFirstMissingNumber) {
    MemorySettingsStore store;
    for (unsigned i : {0u, 1u, 3u})
        store.WriteString(MsnSectionName(i), "Number", "10" + std::to_string(i));
    // An entry whose Number is missing ends the list even when other values are there.
    store.WriteString(MsnSectionName(2), "Name", "orphan");
    auto list = ReadMsnList(store);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].number, "100");
    EXPECT_EQ(list[1].number, "101");
    MsnEntry entry;
    EXPECT_FALSE(ReadMsnEntry(store, 2, entry));
    MemorySettingsStore empty;
    EXPECT_TRUE(ReadMsnList(empty).empty());
    // A stored but empty number is a number: only the missing value ends the list.
    empty.WriteString(MsnSectionName(0), "Number", "");
    EXPECT_EQ(ReadMsnList(empty).size(), 1u);
}

MsnEntry Entry(std::string number, std::string name) {
    MsnEntry e;
    e.number = std::move(number);
    e.name = std::move(name);
    return e;
}

TEST(MsnList, TwoEntriesWrittenOverFiveLeaveExactlyTwo) {
    MemorySettingsStore store;
    std::vector<MsnEntry> five;
    for (int i = 0; i < 5; ++i) five.push_back(Entry("50" + std::to_string(i), "n"));
    WriteMsnList(store, five);
    ASSERT_EQ(ReadMsnList(store).size(), 5u);

    MsnEntry second = Entry("222", "Büro");
    second.programm = "C:\\ring.wav";
    second.parameter = "-q";
    second.dmail = true;
    second.flags[ShowVideo] = false;
    second.flags[RecordCallerKnown] = true;
    WriteMsnList(store, {Entry("111", "Privat"), second});
    EXPECT_EQ(store.ReadSubsections("MSNs"), (std::vector<std::string>{"00000000", "00000001"}));
    auto back = ReadMsnList(store);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].number, "111");
    EXPECT_EQ(back[0].flags, DefaultMsnFlags());
    EXPECT_EQ(back[1].number, "222");
    EXPECT_EQ(back[1].name, "Büro");
    EXPECT_EQ(back[1].programm, "C:\\ring.wav");
    EXPECT_EQ(back[1].parameter, "-q");
    EXPECT_TRUE(back[1].dmail);
    EXPECT_EQ(back[1].flags, second.flags);
}

TEST(MsnList, EveryValueAndFlagIsWrittenEvenAtItsDefault) {
    MemorySettingsStore store;
    WriteMsnList(store, {Entry("1", "")});
    EXPECT_EQ(store.ReadSection("MSNs\\00000000"),
              (std::vector<std::string>{"Number", "Name", "Programm", "Parameter", "dmail"}));
    const std::vector<std::string> services = {"CallerKnown", "Audio", "Data", "Fax23",
                                               "Fax4",        "Video", "Else"};
    EXPECT_EQ(store.ReadSection("MSNs\\00000000\\Show"), services);
    EXPECT_EQ(store.ReadSection("MSNs\\00000000\\Record"), services);
    EXPECT_EQ(store.ReadString("MSNs\\00000000\\Record", "CallerKnown", ""), "0");
    EXPECT_EQ(store.ReadString("MSNs\\00000000\\Show", "Else", ""), "1");

    WriteMsnList(store, {});
    EXPECT_FALSE(store.SectionExists("MSNs"));
}

TEST(MsnList, AnEntryNumberedLikeTheListEndDoesNotHideTheEntriesAfterIt) {
    MemorySettingsStore store;
    WriteMsnList(store,
                 {Entry("1", "a"), Entry(std::string(kMissingMsnNumber), "b"), Entry("3", "c")});
    auto back = ReadMsnList(store);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].number, "1");
    EXPECT_EQ(back[1].number, "3");
    EXPECT_EQ(back[1].name, "c");
}

}  // namespace
}  // namespace telvor
