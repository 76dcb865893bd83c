// Reading the call list without copies: the count announced first, every whole record in file
// order, nothing for a missing file.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "store/CallList.h"
#include "support/TempFolder.h"

namespace telvor {
namespace {

struct Collect final : CallSink {
    std::vector<std::size_t> expected;
    std::vector<CallRecord> calls;
    void Expect(std::size_t count) override { expected.push_back(count); }
    void Add(const CallView& call) override {
        calls.push_back(
            {std::string(call.name), std::string(call.called), call.time, call.notInDatabase});
    }
};

TEST(ReadCalls, HandsOutEveryWholeRecordAfterItsCount) {
    testing::TempFolder folder;
    const std::string path = folder.File("Calls.ddb");
    std::vector<CallRecord> records;
    // More than one read buffer's worth, so that records straddle the buffer's end.
    for (int i = 0; i < 1500; ++i)
        records.push_back(
            {"Anrufer " + std::to_string(i), std::string(127, 'm'), 45000.0 + i, i % 3 == 0});
    ASSERT_TRUE(ReplaceCalls(path, records));
    { std::ofstream(path, std::ios::binary | std::ios::app) << "partial"; }

    Collect sink;
    ASSERT_TRUE(ReadCalls(path, sink));
    EXPECT_EQ(sink.expected, (std::vector<std::size_t>{1500}));
    ASSERT_EQ(sink.calls.size(), records.size());
    for (std::size_t i = 0; i < records.size(); i += 499) {
        EXPECT_EQ(sink.calls[i].name, records[i].name);
        EXPECT_EQ(sink.calls[i].called, records[i].called);
        EXPECT_EQ(sink.calls[i].time, records[i].time);
        EXPECT_EQ(sink.calls[i].notInDatabase, records[i].notInDatabase);
    }
}

TEST(ReadCalls, MissingFileHandsOutNothing) {
    testing::TempFolder folder;
    Collect sink;
    EXPECT_FALSE(ReadCalls(folder.File("missing.ddb"), sink));
    EXPECT_TRUE(sink.expected.empty());
    EXPECT_TRUE(sink.calls.empty());
}

}  // namespace
}  // namespace telvor
