// The text import of the caller database: lines, fields, separators and the program column.
#include "store/TextImport.h"

#include <gtest/gtest.h>

#include "store/MemorySettingsStore.h"
#include "support/TempFolder.h"

namespace telvor {
namespace {

struct Expected {
    std::string number, name, program;
};

void ExpectRows(const std::vector<CallerRow>& rows, const std::vector<Expected>& expected) {
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].number, expected[i].number) << i;
        EXPECT_EQ(rows[i].name, expected[i].name) << i;
        EXPECT_EQ(rows[i].programColumn, expected[i].program) << i;
        EXPECT_EQ(rows[i].dmailColumn, "") << i;
    }
}

TEST(TextImport, DocumentedLinesWithTheDefaultSeparator) {
    ExpectRows(ParseCallerImport("0711 123456, Hans Muster, c:\\sounds\\hans.wav\r\n"
                                 "089 1, Firma\r\n"
                                 "1,A,prog.exe,-x,-y\r\n"
                                 "1,A,,-x\r\n",
                                 ","),
               {{"0711 123456", "Hans Muster", "\"c:\\sounds\\hans.wav\" "},
                {"089 1", "Firma", ""},
                {"1", "A", "\"prog.exe\" -x,-y"},
                {"1", "A", "\"\" -x"}});
}

TEST(TextImport, LineEndsEmptyLinesAndNul) {
    const std::vector<Expected> two = {{"1", "A", ""}, {"2", "B", ""}};
    ExpectRows(ParseCallerImport("1,A\r\n2,B\r\n", ","), two);
    ExpectRows(ParseCallerImport("1,A\n2,B", ","), two);
    ExpectRows(ParseCallerImport("1,A\r2,B\r", ","), two);
    ExpectRows(ParseCallerImport("\r\n1,A\n\n\r\r\n2,B\n\n", ","), two);
    ExpectRows(ParseCallerImport(std::string_view("1,A\n2,B\n\0003,C\n", 14), ","), two);
    ExpectRows(ParseCallerImport("", ","), {});
}

TEST(TextImport, NoLineIsRejected) {
    ExpectRows(ParseCallerImport("0711\n   \n\t x \t,\x01y\x1f\n", ","),
               {{"0711", "", ""}, {"", "", ""}, {"x", "y", ""}});
    // Quotes have no meaning in the fields; one in the program is dropped so that the column
    // still splits into program and parameters.
    ExpectRows(ParseCallerImport("1,\"A\",c:\\a\"b.exe,\"p\"", ","),
               {{"1", "\"A\"", "\"c:\\ab.exe\" \"p\""}});
}

TEST(TextImport, SeparatorsOfOneAndTwoCharacters) {
    ExpectRows(ParseCallerImport("1;A;;", ";"), {{"1", "A", ""}});
    ExpectRows(ParseCallerImport("0711, Müller,Hans, x.wav, -a, -b", ", "),
               {{"0711", "Müller,Hans", "\"x.wav\" -a, -b"}});
    ExpectRows(ParseCallerImport("1,A", ""), {{"1,A", "", ""}});
}

TEST(TextImport, FilesAndTheSeparatorSetting) {
    testing::TempFolder folder;
    MemorySettingsStore store;
    EXPECT_EQ(ReadImportSeparator(store), ",");
    store.WriteString("Settings", "Separator", ";");
    EXPECT_EQ(ReadImportSeparator(store), ";");

    EXPECT_FALSE(ImportCallerFile(folder.File("missing.txt"), ",").has_value());
    testing::WriteText(folder.File("empty.txt"), "");
    auto empty = ImportCallerFile(folder.File("empty.txt"), ",");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());
    testing::WriteText(folder.File("two.txt"), "1;A\r\n2;B;p.exe");
    auto rows = ImportCallerFile(folder.File("two.txt"), ";");
    ASSERT_TRUE(rows.has_value());
    ExpectRows(*rows, {{"1", "A", ""}, {"2", "B", "\"p.exe\" "}});
}

}  // namespace
}  // namespace telvor
