// The caller index relies on these: two writes told apart (the C++ library of the MinGW build
// reports write times in whole seconds, the system in 100-ns steps), and the records read
// through a mapping, whole ones only.
#include "store/win/WinFileAccess.h"

#include <windows.h>

#include <cstring>
#include <gtest/gtest.h>

#include "support/CaseFolder.h"

namespace telvor {
namespace {

using namespace telvor::test;

TEST(WinFileAccess, TwoWritesOfTheSameSizeAMomentApartDiffer) {
    const WinFileAccess probe;
    const std::string path = JoinPath(CaseDir(), "identity.ddb");
    EXPECT_FALSE(probe.Identify(path).exists);
    EXPECT_FALSE(probe.Identify(CaseDir()).exists) << "a folder is no file";

    WriteFileBytes(path, "alt");
    const FileIdentity first = probe.Identify(path);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 3u);
    EXPECT_FALSE(first.settled) << "written just now";
    Sleep(20);
    WriteFileBytes(path, "neu");
    const FileIdentity second = probe.Identify(path);
    EXPECT_EQ(second.size, 3u);
    EXPECT_NE(second.writeTime, first.writeTime);

    // Set back by a minute, the file has settled.
    SetWriteTimeBack(path, 60);
    EXPECT_TRUE(probe.Identify(path).settled);
    DeleteFileA(path.c_str());
}

TEST(WinFileAccess, RecordsComeWholeAcrossViewsWithoutThePartialTail) {
    const WinFileAccess files;
    const std::string path = JoinPath(CaseDir(), "records.ddb");
    // 200 000 records of 8 bytes (more than one view) holding their own index, then 5 bytes
    // of a partial record.
    std::string bytes;
    for (std::uint64_t i = 0; i < 200000; ++i) bytes.append(reinterpret_cast<const char*>(&i), 8);
    bytes.append(5, 'x');
    WriteFileBytes(path, bytes);
    std::uint64_t next = 0;
    bool inOrder = true;
    const bool read = files.ReadRecords(path, 8, [&](std::span<const unsigned char> records) {
        EXPECT_EQ(records.size() % 8, 0u);
        for (std::size_t at = 0; at < records.size(); at += 8) {
            std::uint64_t value = 0;
            std::memcpy(&value, records.data() + at, 8);
            inOrder = inOrder && value == next++;
        }
    });
    EXPECT_TRUE(read);
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(next, 200000u);

    WriteFileBytes(path, "");
    EXPECT_TRUE(files.ReadRecords(path, 8, [](std::span<const unsigned char>) { ADD_FAILURE(); }));
    DeleteFileA(path.c_str());
    EXPECT_FALSE(files.ReadRecords(path, 8, [](std::span<const unsigned char>) {}));
}

}  // namespace
}  // namespace telvor
