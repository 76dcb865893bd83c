#include "store/CallerDatabase.h"

#include <gtest/gtest.h>

#include <random>

#include "support/TempFolder.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

class CallerDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { LoadStartupTexts(); }

    static CallerRow Row(std::string number, std::string name, std::string program = "",
                         std::string dmail = "") {
        return {std::move(number), std::move(name), std::move(program), std::move(dmail)};
    }

    testing::TempFolder folder_;
    const std::string path_ = folder_.File("CallerList.ddb");
};

// A record built byte by byte, as another writer might have left it.
std::vector<unsigned char> RawRecord(std::string_view number, std::string_view name,
                                     std::string_view marker) {
    std::vector<unsigned char> record(kCallerRecordSize, 0);
    record[0] = static_cast<unsigned char>(number.size());
    std::copy(number.begin(), number.end(), record.begin() + 1);
    std::copy(marker.begin(), marker.end(), record.begin() + 61);
    record[64] = static_cast<unsigned char>(name.size());
    std::copy(name.begin(), name.end(), record.begin() + 65);
    return record;
}

TEST_F(CallerDatabaseTest, LookupPicksTheLongestPrefixAndTheFirstOnTies) {
    ASSERT_TRUE(ReplaceCallers(
        path_, {Row("0711", "Zentrale"), Row("0711 12", "Firma"), Row("0711", "Zweite Zentrale"),
                Row("0711-12 34/5", "Hans", "\"c:\\a b\\x.exe\" -q", "X")}));
    CallerMatch firm = LookupCaller(path_, "071112999");
    EXPECT_TRUE(firm.found);
    EXPECT_FALSE(firm.exact);
    EXPECT_EQ(firm.name, "Firma");

    EXPECT_EQ(LookupCaller(path_, "0711123456").name, "Hans");
    CallerMatch hans = LookupCaller(path_, "071112345");
    EXPECT_TRUE(hans.exact);
    EXPECT_EQ(hans.name, "Hans");
    EXPECT_EQ(hans.program, "c:\\a b\\x.exe");
    EXPECT_EQ(hans.parameter, "-q");
    EXPECT_TRUE(hans.dmail);

    EXPECT_EQ(LookupCaller(path_, "0711").name, "Zentrale");
    EXPECT_TRUE(LookupCaller(path_, "0711").exact);
}

TEST_F(CallerDatabaseTest, LookupNonMatches) {
    ASSERT_TRUE(ReplaceCallers(
        path_, {Row("- ( ) /", "Leer"), Row("0800-TELEFON", "Vanity"), Row("07111", "Lang")}));
    for (std::string_view calling : {"", "089", "0711"}) {
        CallerMatch none = LookupCaller(path_, calling);
        EXPECT_FALSE(none.found) << calling;
        EXPECT_EQ(none.name, "unbekannt");
        EXPECT_FALSE(none.dmail);
    }
    EXPECT_EQ(LookupCaller(path_, "08008353366").name, "Vanity");
    EXPECT_FALSE(LookupCaller(folder_.File("missing.ddb"), "0711").found);
}

TEST_F(CallerDatabaseTest, LookupSeesEveryChangeOfTheFile) {
    ASSERT_TRUE(ReplaceCallers(path_, {Row("0711", "Alt")}));
    EXPECT_EQ(LookupCaller(path_, "0711").name, "Alt");
    ASSERT_TRUE(ReplaceCallers(path_, {Row("0711", "Neu")}));
    EXPECT_EQ(LookupCaller(path_, "0711").name, "Neu");
}

TEST_F(CallerDatabaseTest, DmailOnlyForTheExactMarkerBytes) {
    std::vector<unsigned char> file;
    for (std::string_view marker : {std::string_view("\0\0\0", 3), std::string_view("DM0"),
                                    std::string_view("dm1"), std::string_view("DM1")}) {
        const auto record = RawRecord("1", "x", marker);
        file.insert(file.end(), record.begin(), record.end());
    }
    WriteBytes(path_, file);
    const auto records = LoadCallers(path_);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_FALSE(records[0].dmail);
    EXPECT_FALSE(records[1].dmail);
    EXPECT_FALSE(records[2].dmail);
    EXPECT_TRUE(records[3].dmail);
    EXPECT_FALSE(LookupCaller(path_, "1").dmail);  // the first record wins the tie
}

TEST_F(CallerDatabaseTest, PartialRecordsNulsAndOversizedLengths) {
    auto first = RawRecord(std::string_view("0711\0xyz", 8), "Eins", "DM1");
    auto second = RawRecord(std::string(60, '8'), "Zwei", "DM0");
    second[0] = 200;  // longer than the 60-byte number field
    std::vector<unsigned char> file = first;
    file.insert(file.end(), second.begin(), second.end());
    file.resize(1700, 0xEE);  // 36 bytes of a partial third record
    WriteBytes(path_, file);

    bool opened = false;
    const auto records = LoadCallers(path_, &opened);
    EXPECT_TRUE(opened);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].number, "0711");  // cut at the NUL
    EXPECT_EQ(records[0].name, "Eins");
    EXPECT_EQ(records[1].number.size(), 60u);  // clamped to the field
    EXPECT_EQ(records[1].name, "Zwei");
    // The lookup also ends the number at the NUL; the marker bytes never join the number.
    EXPECT_EQ(LookupCaller(path_, "0711").name, "Eins");
    EXPECT_EQ(LookupCaller(path_, std::string(60, '8')).name, "Zwei");
    EXPECT_FALSE(LookupCaller(path_, std::string(60, '8') + "DM0").exact);

    LoadCallers(folder_.File("missing.ddb"), &opened);
    EXPECT_FALSE(opened);
}

TEST_F(CallerDatabaseTest, ReplaceWritesTruncatedFieldsWithZeroedRemainder) {
    const std::string longNumber(61, '1');
    const std::string longName(300, 'n');
    const std::string longProgram = "\"" + std::string(300, 'p') + "\" " + std::string(300, 'a');
    ASSERT_TRUE(ReplaceCallers(path_, {Row(longNumber, longName, longProgram, "X"),
                                       Row("Neuer Eintrag", "verworfen"), Row("0711", "Kurz")}));
    const auto bytes = ReadBytes(path_);
    ASSERT_EQ(bytes.size(), 2 * kCallerRecordSize);
    EXPECT_EQ(bytes[0], 60);
    EXPECT_EQ(bytes[61], 'D');
    EXPECT_EQ(bytes[62], 'M');
    EXPECT_EQ(bytes[63], '1');
    EXPECT_EQ(bytes[64], 255);
    EXPECT_EQ(bytes[320], 255);
    EXPECT_EQ(bytes[576], 255);

    const unsigned char* second = bytes.data() + kCallerRecordSize;
    EXPECT_EQ(second[63], '0');
    // Everything after a field's used length is zero: no remnants of the long first record.
    for (std::size_t i = 1 + 4; i < 61; ++i) EXPECT_EQ(second[i], 0) << i;
    for (std::size_t i = 65 + 4; i < kCallerRecordSize; ++i) EXPECT_EQ(second[i], 0) << i;

    const auto records = LoadCallers(path_);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].number, longNumber.substr(0, 60));
    EXPECT_EQ(records[0].name, longName.substr(0, 255));
    EXPECT_EQ(records[0].program, std::string(255, 'p'));
    EXPECT_EQ(records[0].parameter, std::string(255, 'a'));
}

TEST_F(CallerDatabaseTest, BackupHoldsTheStateBeforeTheLastApply) {
    ASSERT_TRUE(ReplaceCallers(path_, {Row("1", "erste")}));
    EXPECT_FALSE(std::filesystem::exists(folder_.File("CallerList.bak")));
    ASSERT_TRUE(ReplaceCallers(path_, {Row("2", "zweite")}));
    ASSERT_TRUE(ReplaceCallers(path_, {Row("3", "dritte")}));
    const auto backup = LoadCallers(folder_.File("CallerList.bak"));
    ASSERT_EQ(backup.size(), 1u);
    EXPECT_EQ(backup[0].name, "zweite");
    EXPECT_EQ(LoadCallers(path_)[0].name, "dritte");

    EXPECT_EQ(BackupName("c:\\Telvor\\CallerList.ddb"), "c:\\Telvor\\CallerList.bak");
    EXPECT_EQ(BackupName("c:\\Tel.vor\\Calls"), "c:\\Tel.vor\\Calls.bak");
    EXPECT_EQ(BackupName("/a.b/x.y.ddb"), "/a.b/x.y.bak");
    EXPECT_EQ(BackupName("Calls"), "Calls.bak");
}

TEST_F(CallerDatabaseTest, ReplaceReportsAFileThatCannotBeWritten) {
    EXPECT_FALSE(ReplaceCallers(folder_.File("no/such/folder/CallerList.ddb"), {Row("1", "a")}));
    // An empty list is a valid, empty file.
    EXPECT_TRUE(ReplaceCallers(path_, {}));
    EXPECT_TRUE(std::filesystem::exists(path_));
    EXPECT_EQ(std::filesystem::file_size(path_), 0u);
}

TEST_F(CallerDatabaseTest, ProgramColumnJoinAndSplit) {
    std::string program, parameter;
    SplitProgramColumn("\"c:\\Program Files\\x.exe\" ab", program, parameter);
    EXPECT_EQ(program, "c:\\Program Files\\x.exe");
    EXPECT_EQ(parameter, "ab");
    SplitProgramColumn("\"c:\\x.exe\" ", program, parameter);
    EXPECT_EQ(program, "c:\\x.exe");
    EXPECT_EQ(parameter, "");
    SplitProgramColumn("\"\" -a", program, parameter);
    EXPECT_EQ(program, "");
    EXPECT_EQ(parameter, "-a");
    SplitProgramColumn("ab", program, parameter);
    EXPECT_EQ(program + parameter, "");
    // Not in the quoted form: the text survives as the program, nothing is cut off.
    SplitProgramColumn("notepad.exe", program, parameter);
    EXPECT_EQ(program, "notepad.exe");
    EXPECT_EQ(parameter, "");
    SplitProgramColumn("\"c:\\x.exe", program, parameter);
    EXPECT_EQ(program, "c:\\x.exe");

    EXPECT_EQ(JoinProgramColumn("", ""), "");
    EXPECT_EQ(JoinProgramColumn("c:\\\"x\".exe", "-q"), "\"c:\\x.exe\" -q");
    EXPECT_EQ(JoinProgramColumn("", "-q"), "\"\" -q");

    CallerRecord record{"0711 12", "Firma", "c:\\a b.wav", "", true};
    const CallerRow row = ToRow(record);
    EXPECT_EQ(row.programColumn, "\"c:\\a b.wav\" ");
    EXPECT_EQ(row.dmailColumn, "X");
    ASSERT_TRUE(ReplaceCallers(path_, {row}));
    const auto back = LoadCallers(path_);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].number, record.number);
    EXPECT_EQ(back[0].program, record.program);
    EXPECT_EQ(back[0].parameter, "");
    EXPECT_TRUE(back[0].dmail);
    EXPECT_TRUE(ToRow(CallerRecord{"1", "a", "", "", false}).programColumn.empty());
}

TEST_F(CallerDatabaseTest, RandomAndTruncatedFilesAreReadSafely) {
    std::mt19937 random(832);
    for (int round = 0; round < 120; ++round) {
        std::vector<unsigned char> file(random() % (4 * kCallerRecordSize));
        for (auto& byte : file) byte = static_cast<unsigned char>(random());
        // Every other round: mostly digits with the dmail marker, so matches happen.
        if (round % 2 == 1) {
            for (std::size_t at = 0; at + kCallerRecordSize <= file.size();
                 at += kCallerRecordSize) {
                file[at] = static_cast<unsigned char>(random() % 70);
                for (std::size_t i = 1; i <= 60; ++i) file[at + i] = '0' + random() % 3;
            }
        }
        WriteBytes(path_, file);
        const auto records = LoadCallers(path_);
        ASSERT_EQ(records.size(), file.size() / kCallerRecordSize);
        for (const auto& record : records) {
            EXPECT_LE(record.number.size(), 60u);
            EXPECT_EQ(record.number.find('\0'), std::string::npos);
        }
        const CallerMatch match = LookupCaller(path_, "0120120120");
        if (!match.found) {
            EXPECT_EQ(match.name, "unbekannt");
        }
    }
}

}  // namespace
}  // namespace telvor
