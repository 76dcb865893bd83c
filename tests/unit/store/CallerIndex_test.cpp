#include "store/CallerIndex.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "base/StringTable.h"
#include "store/posix/PosixFileAccess.h"
#include "support/TempFolder.h"

namespace telvor {
namespace {

namespace fs = std::filesystem;
using testing::WriteBytes;

void ExpectSameMatch(const CallerMatch& index, const CallerMatch& scan, std::string_view calling) {
    EXPECT_EQ(index.found, scan.found) << calling;
    EXPECT_EQ(index.exact, scan.exact) << calling;
    EXPECT_EQ(index.name, scan.name) << calling;
    EXPECT_EQ(index.program, scan.program) << calling;
    EXPECT_EQ(index.parameter, scan.parameter) << calling;
    EXPECT_EQ(index.dmail, scan.dmail) << calling;
}

// A raw record: the number field as given (its length byte may lie), a name, the dmail bytes
// and a one-letter program that tells records apart.
void AppendRecord(std::vector<unsigned char>& file, std::string_view number, std::string_view name,
                  std::string_view marker = "DM1", int numberLength = -1) {
    const std::size_t at = file.size();
    file.resize(at + kCallerRecordSize, 0);
    unsigned char* record = file.data() + at;
    record[0] = static_cast<unsigned char>(numberLength < 0 ? number.size() : numberLength);
    std::copy(number.begin(), number.end(), record + 1);
    std::copy(marker.begin(), marker.end(), record + 61);
    record[64] = static_cast<unsigned char>(name.size());
    std::copy(name.begin(), name.end(), record + 65);
    record[320] = 1;
    record[321] = static_cast<unsigned char>('a' + at / kCallerRecordSize % 26);
}

class CallerIndexTest : public ::testing::Test {
  protected:
    void SetUp() override { LoadStartupTexts(); }

    // Writes the file as another program would, with a write time of its own: the times are
    // set, so the test does not depend on how finely the file system's clock ticks.
    void WriteAs(const std::vector<unsigned char>& bytes, int stamp) {
        WriteBytes(path_, bytes);
        SetTime(stamp);
    }
    void SetTime(int stamp) { fs::last_write_time(path_, longAgo_ + std::chrono::seconds(stamp)); }
    CallerMatch Lookup(std::string_view calling) { return index_.Lookup(path_, calling); }

    testing::TempFolder folder_;
    const std::string path_ = folder_.File("CallerList.ddb");
    const fs::file_time_type longAgo_ = fs::file_time_type::clock::now() - std::chrono::hours(1);
    PosixFileAccess files_;
    CallerIndex index_{files_};
};

// Numbers from a small alphabet, so that prefixes overlap and repeat, with everything the
// keypad conversion drops or maps, NULs with remnants behind them and lying length bytes.
std::string RandomNumber(std::mt19937& random) {
    using namespace std::string_view_literals;
    static constexpr std::string_view kPieces[] = {
        "0"sv, "7"sv, "1"sv, "11"sv,   " "sv,    "-"sv, "/"sv,    "*"sv,
        "#"sv, "A"sv, "s"sv, "\xE4"sv, "\xDF"sv, "("sv, "\0x9"sv, "12"sv};
    std::string number;
    const std::size_t pieces = random() % 9;
    for (std::size_t i = 0; i < pieces; ++i) number += kPieces[random() % std::size(kPieces)];
    return number;
}

std::string RandomCalling(std::mt19937& random) {
    static constexpr std::string_view kDigits = "0711*#27";
    std::string calling;
    const std::size_t length = random() % 12;
    for (std::size_t i = 0; i < length; ++i) calling += kDigits[random() % kDigits.size()];
    return calling;
}

TEST_F(CallerIndexTest, AgreesWithTheScanOnGeneratedFiles) {
    std::mt19937 random(4711);
    for (int round = 0; round < 60; ++round) {
        std::vector<unsigned char> file;
        const std::size_t records = round == 0 ? 0 : random() % 40;
        for (std::size_t i = 0; i < records; ++i) {
            const int lie = random() % 10 == 0 ? 61 + static_cast<int>(random() % 190) : -1;
            AppendRecord(file, RandomNumber(random), "Anrufer " + std::to_string(i),
                         random() % 3 == 0 ? "DM0" : "DM1", lie);
        }
        file.resize(file.size() + (round % 3 == 0 ? random() % kCallerRecordSize : 0), 0x37);
        WriteAs(file, round);
        for (int i = 0; i < 40; ++i) {
            const std::string calling = RandomCalling(random);
            ExpectSameMatch(Lookup(calling), LookupCallerIn(file, calling), calling);
        }
        if (HasFailure()) return;
    }
    EXPECT_EQ(index_.Builds(), 60u);
}

TEST_F(CallerIndexTest, MissingEmptyAndRemovedFilesNameNobody) {
    EXPECT_EQ(Lookup("0711").name, "unbekannt");  // no file yet
    WriteAs({}, 1);
    EXPECT_FALSE(Lookup("0711").found);
    std::vector<unsigned char> file;
    AppendRecord(file, "0711", "Zentrale");
    WriteAs(file, 2);
    EXPECT_TRUE(Lookup("0711").found);
    EXPECT_FALSE(Lookup("").found);
    fs::remove(path_);
    EXPECT_EQ(Lookup("0711").name, "unbekannt");
}

// The record a stale index names is read and checked, so a changed name or number shows even
// then; what only a fresh index finds is a longer number that was added. Hence the changes
// below: two records of which the second becomes a longer prefix of the calling number.
std::vector<unsigned char> TwoCallers(std::string_view second) {
    std::vector<unsigned char> file;
    AppendRecord(file, "0711", "Zentrale");
    AppendRecord(file, second, "Durchwahl");
    return file;
}

TEST_F(CallerIndexTest, AFileReplacedByAnotherWriterIsSeenAtOnce) {
    WriteAs(TwoCallers("0811"), 1);
    EXPECT_EQ(Lookup("071112").name, "Zentrale");
    EXPECT_EQ(Lookup("071112").name, "Zentrale");
    EXPECT_EQ(index_.Builds(), 1u) << "an unchanged file is not read again";

    // Same size, new time.
    WriteAs(TwoCallers("07111"), 2);
    EXPECT_EQ(Lookup("071112").name, "Durchwahl");

    // New size, and the time set back to the old one.
    std::vector<unsigned char> grown = TwoCallers("07111");
    AppendRecord(grown, "071112", "Länger");
    WriteAs(grown, 2);
    EXPECT_EQ(Lookup("071112").name, "Länger");
    EXPECT_EQ(index_.Builds(), 3u);

    // A file written just now is read again on every lookup until its time has settled:
    // a second write in the same tick of the file system's clock would look the same.
    WriteBytes(path_, TwoCallers("0811"));
    EXPECT_EQ(Lookup("071112").name, "Zentrale");
    WriteBytes(path_, TwoCallers("07111"));
    EXPECT_EQ(Lookup("071112").name, "Durchwahl");
    EXPECT_EQ(index_.Builds(), 5u);
}

TEST_F(CallerIndexTest, TheProgramsOwnWritesAreSeenEvenWithSizeAndTimeUnchanged) {
    ASSERT_TRUE(ReplaceCallers(path_, {{"0711", "Zentrale", "", ""}, {"0811", "x", "", ""}}));
    SetTime(1);
    EXPECT_EQ(Lookup("071112").name, "Zentrale");
    ASSERT_TRUE(
        ReplaceCallers(path_, {{"0711", "Zentrale", "", ""}, {"07111", "Durchwahl", "", ""}}));
    SetTime(1);
    EXPECT_EQ(Lookup("071112").name, "Durchwahl");
}

// Files that never look changed, as on a file system whose clock did not move.
class FrozenFiles final : public FileAccess {
  public:
    FileIdentity Identify(const std::string&) const override {
        return {true, kCallerRecordSize, 1, true};
    }
    bool ReadRecords(const std::string& path, std::size_t size,
                     const RecordSink& take) const override {
        return PosixFileAccess().ReadRecords(path, size, take);
    }
};

TEST_F(CallerIndexTest, AWinnerThatNoLongerMatchesInTheFileIsLookedUpAgain) {
    FrozenFiles frozen;
    CallerIndex index(frozen);
    std::vector<unsigned char> file;
    AppendRecord(file, "0711", "Alt");
    WriteBytes(path_, file);
    EXPECT_EQ(index.Lookup(path_, "0711").name, "Alt");

    file.clear();
    AppendRecord(file, "0811", "Neu");
    WriteBytes(path_, file);
    EXPECT_FALSE(index.Lookup(path_, "0711").found);
    EXPECT_EQ(index.Lookup(path_, "0811").name, "Neu");
    fs::remove(path_);
    EXPECT_FALSE(index.Lookup(path_, "0811").found);
}

// Numbers of the greatest length, all different: the most an index can hold. The largest file
// spans more than one view of its mapping.
TEST_F(CallerIndexTest, TakesLessMemoryThanTheFileAndReadsItWhole) {
    std::mt19937 random(832);
    for (const std::size_t records : {1u, 2u, 100u, 20000u}) {
        std::vector<unsigned char> file;
        std::string number;
        for (std::size_t i = 0; i < records; ++i) {
            number = std::to_string(i) + "#" + std::to_string(random());
            number.resize(60, '0');
            AppendRecord(file, number, std::string(255, 'n'));
        }
        WriteAs(file, static_cast<int>(records));
        EXPECT_TRUE(Lookup(number).exact) << records;
        EXPECT_LE(index_.MemoryBytes(), file.size()) << records;
    }
    EXPECT_EQ(index_.Builds(), 4u);
}

}  // namespace
}  // namespace telvor
