#include "store/CallList.h"

#include <gtest/gtest.h>

#include <random>

#include "support/TempFolder.h"

namespace telvor {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

class CallListTest : public ::testing::Test {
  protected:
    testing::TempFolder folder_;
    const std::string path_ = folder_.File("Calls.ddb");
};

TEST_F(CallListTest, AppendCreatesAMissingFileThenAddsToIt) {
    const CallRecord unknown{"0711 123456", "4711 (Büro)", 45000.75, true};
    const CallRecord known{"Hans Muster", "4712", 45001.0, false};
    EXPECT_EQ(AppendCall(path_, unknown), AppendResult::Created);
    EXPECT_EQ(std::filesystem::file_size(path_), kCallRecordSize);
    EXPECT_EQ(AppendCall(path_, known), AppendResult::Written);

    bool opened = false;
    const auto calls = LoadCalls(path_, &opened);
    EXPECT_TRUE(opened);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, unknown.name);
    EXPECT_EQ(calls[0].called, unknown.called);
    EXPECT_EQ(calls[0].time, unknown.time);
    EXPECT_TRUE(calls[0].notInDatabase);
    EXPECT_EQ(calls[1].name, known.name);
    EXPECT_FALSE(calls[1].notInDatabase);
}

TEST_F(CallListTest, RecordLayoutTimeTruncationAndZeroPadding) {
    ASSERT_EQ(AppendCall(path_, {std::string(300, 'n'), std::string(130, 'c'), 1.0, true}),
              AppendResult::Created);
    ASSERT_EQ(AppendCall(path_, {"A", "B", 0.0, false}), AppendResult::Written);
    const auto bytes = ReadBytes(path_);
    ASSERT_EQ(bytes.size(), 2 * kCallRecordSize);
    EXPECT_EQ(bytes[0], 255);
    EXPECT_EQ(bytes[256], 127);
    // 1.0 as a little-endian IEEE double.
    const std::vector<unsigned char> one{0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 384, bytes.begin() + 392), one);
    EXPECT_EQ(bytes[392], 1);
    EXPECT_EQ(bytes[393] | bytes[394] | bytes[395], 0);

    const unsigned char* second = bytes.data() + kCallRecordSize;
    EXPECT_EQ(second[0], 1);
    EXPECT_EQ(second[1], 'A');
    for (std::size_t i = 2; i < 256; ++i) EXPECT_EQ(second[i], 0) << i;
    EXPECT_EQ(second[256], 1);
    for (std::size_t i = 258; i < kCallRecordSize; ++i) EXPECT_EQ(second[i], 0) << i;

    const auto calls = LoadCalls(path_);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, std::string(255, 'n'));
    EXPECT_EQ(calls[0].called, std::string(127, 'c'));
    EXPECT_EQ(calls[1].time, 0.0);  // 30 December 1899 00:00
}

TEST_F(CallListTest, AppendRealignsAfterAPartialRecord) {
    ASSERT_EQ(AppendCall(path_, {"eins", "1", 1.0, false}), AppendResult::Created);
    auto bytes = ReadBytes(path_);
    bytes.resize(bytes.size() + 100, 0xEE);  // an interrupted write
    WriteBytes(path_, bytes);
    EXPECT_EQ(LoadCalls(path_).size(), 1u);
    ASSERT_EQ(AppendCall(path_, {"zwei", "2", 2.0, false}), AppendResult::Written);
    EXPECT_EQ(std::filesystem::file_size(path_), 2 * kCallRecordSize);
    const auto calls = LoadCalls(path_);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].name, "zwei");
}

TEST_F(CallListTest, FailuresAreReportedAndNothingIsReplaced) {
    EXPECT_EQ(AppendCall(folder_.File("no/folder/Calls.ddb"), {"a", "b", 1.0, false}),
              AppendResult::Failed);
    // Something that exists but cannot be opened for writing is not recreated.
    const std::string folderPath = folder_.File("Calls.dir");
    std::filesystem::create_directory(folderPath);
    EXPECT_EQ(AppendCall(folderPath, {"a", "b", 1.0, false}), AppendResult::Failed);
    EXPECT_TRUE(std::filesystem::is_directory(folderPath));

    EXPECT_FALSE(ReplaceCalls(folder_.File("no/folder/Calls.ddb"), {}));
    bool opened = true;
    EXPECT_TRUE(LoadCalls(folder_.File("missing.ddb"), &opened).empty());
    EXPECT_FALSE(opened);
}

TEST_F(CallListTest, ReplaceKeepsOneBackupGeneration) {
    ASSERT_EQ(AppendCall(path_, {"vorher", "1", 1.0, true}), AppendResult::Created);
    ASSERT_TRUE(ReplaceCalls(path_, {{"erste", "1", 2.0, false}, {"zweite", "2", 3.0, true}}));
    ASSERT_TRUE(ReplaceCalls(path_, {{"dritte", "3", 4.0, false}}));
    const auto backup = LoadCalls(folder_.File("Calls.bak"));
    ASSERT_EQ(backup.size(), 2u);
    EXPECT_EQ(backup[1].name, "zweite");
    EXPECT_TRUE(backup[1].notInDatabase);
    const auto calls = LoadCalls(path_);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].time, 4.0);
}

// The dialog's apply writes straight from its rows, a batch of records at a time: the file is
// what the records encode to across batches, long texts cut, no remnants of the batch before.
TEST_F(CallListTest, ReplaceFromASourceWritesBatchAfterBatch) {
    std::vector<CallRecord> records;
    for (int i = 0; i < 2100; ++i)
        records.push_back({i < 1024 ? std::string(300, 'n') : "k" + std::to_string(i),
                           i % 2 ? std::string(130, 'c') : "4711", 46000.0 + i, i % 3 == 0});
    ASSERT_TRUE(ReplaceCalls(path_, CallRecordSource(records)));
    const std::vector<unsigned char> expected = EncodeCalls(records);
    EXPECT_TRUE(ReadBytes(path_) == expected);
    const auto back = LoadCalls(path_);
    ASSERT_EQ(back.size(), records.size());
    EXPECT_EQ(back[0].name, std::string(255, 'n'));
    EXPECT_EQ(back[1].called, std::string(127, 'c'));
    EXPECT_EQ(back[1024].name, "k1024");
    EXPECT_EQ(back[2099].time, 46000.0 + 2099);

    const std::vector<CallRecord> none;
    ASSERT_TRUE(ReplaceCalls(path_, CallRecordSource(none)));
    EXPECT_EQ(std::filesystem::file_size(path_), 0u);
}

TEST_F(CallListTest, RandomAndTruncatedFilesAreReadSafely) {
    std::mt19937 random(396);
    for (int round = 0; round < 150; ++round) {
        std::vector<unsigned char> file(random() % (5 * kCallRecordSize));
        for (auto& byte : file) byte = static_cast<unsigned char>(random());
        WriteBytes(path_, file);
        const auto calls = LoadCalls(path_);
        ASSERT_EQ(calls.size(), file.size() / kCallRecordSize);
        for (const auto& call : calls) {
            EXPECT_LE(call.name.size(), 255u);
            EXPECT_LE(call.called.size(), 127u);
        }
        // Appending to garbage keeps the whole records and adds one.
        ASSERT_EQ(AppendCall(path_, {"x", "y", 1.0, false}), AppendResult::Written);
        EXPECT_EQ(LoadCalls(path_).size(), calls.size() + 1);
    }
}

}  // namespace
}  // namespace telvor
