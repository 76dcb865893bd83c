// The protocol line, its file append and the call-list entry.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "monitor/Protocol.h"
#include "store/CallListEntry.h"
#include "store/MemorySettingsStore.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

const ProtocolFields kFields{
    "07.12.26",   "14:35", "Hans Muster", "(0711) 123456", "Telefongespräch oder Analog",
    "Büro (4711)"};

TEST(ProtocolLine, SeparatorIsFollowedByOneBlank) {
    EXPECT_EQ(FormatProtocolLine(kFields, ";"),
              "07.12.26; 14:35; Hans Muster; (0711) 123456; Telefongespräch oder Analog; "
              "Büro (4711)\r\n");
    EXPECT_EQ(FormatProtocolLine(kFields, ""),
              "07.12.26 14:35 Hans Muster (0711) 123456 Telefongespräch oder Analog "
              "Büro (4711)\r\n");
    ProtocolFields comma = kFields;
    comma.name = "Muster, Hans";  // written unchanged
    EXPECT_EQ(FormatProtocolLine(comma, ",").substr(0, 31), "07.12.26, 14:35, Muster, Hans, ");

    MemorySettingsStore store;
    EXPECT_EQ(ReadProtocolSeparator(store), ",");
    store.WriteString("Settings", "Separator", "|");
    EXPECT_EQ(ReadProtocolSeparator(store), "|");
}

TEST(ProtocolFile, AppendsAndCreatesButNeverFailsLoudly) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("telvor-protocol-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Telvor.log").string();
    std::filesystem::remove(path);

    EXPECT_TRUE(WriteProtocolLine(path, "a\r\n"));
    EXPECT_TRUE(WriteProtocolLine(path, "b\r\n"));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a\r\nb\r\n");

    EXPECT_FALSE(WriteProtocolLine(dir.string(), "x\r\n"));  // a folder cannot take a line
    EXPECT_FALSE(WriteProtocolLine((dir / "missing" / "x.log").string(), "x\r\n"));
    EXPECT_FALSE(WriteProtocolLine("", "x\r\n"));
    std::filesystem::remove_all(dir);
}

TEST(CallListEntry, UnknownCallerIsListedByNumberAndTextsFitTheRecord) {
    LoadStartupTexts();
    CallListEntry unknown =
        MakeCallListEntry("unbekannt", "(0711) 123456", "4711", 46363.5, "07.12.26", "12:00", true);
    EXPECT_EQ(unknown.caption, "(0711) 123456");
    EXPECT_EQ(CallListDateTimeText(unknown), "07.12.26 12:00");
    EXPECT_EQ(MakeCallListEntry("Anna", "089", "4711", 0, "", "", false).caption, "Anna");

    CallListEntry big = unknown;
    big.caption = std::string(300, 'n');
    big.msnText = std::string(200, 'm');
    const CallRecord record = ToCallRecord(big);
    EXPECT_EQ(record.name.size(), 255u);
    EXPECT_EQ(record.called.size(), 127u);
    EXPECT_TRUE(record.notInDatabase);
    EXPECT_DOUBLE_EQ(record.time, 46363.5);
}

}  // namespace
}  // namespace telvor
