// The import's file step: rows of a readable file, the error box of one that is not.
#include "ui/win/ImportDialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "store/MemorySettingsStore.h"
#include "support/WinTestSupport.h"

namespace telvor {
namespace {

TEST(ImportDialog, RowsOfAFileSplitByTheSeparatorSetting) {
    const std::string path = wintest::CaseDir() + "\\import.txt";
    std::ofstream(path, std::ios::binary) << "0711 1;Hans;h.wav\r\n\r\n089;Firma\n";
    MemorySettingsStore store;
    store.WriteString("Settings", "Separator", ";");
    const auto rows = ImportRowsFromFile(nullptr, path, store);
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ(rows->size(), 2u);
    EXPECT_EQ((*rows)[0].number, "0711 1");
    EXPECT_EQ((*rows)[0].programColumn, "\"h.wav\" ");
    EXPECT_EQ((*rows)[1].name, "Firma");
    EXPECT_FALSE(test::AnyVisibleWindowOfThisProcess());
}

TEST(ImportDialog, AFileThatCannotBeOpenedShowsTheErrorAndAddsNothing) {
    const std::string path = wintest::CaseDir() + "\\missing\\none.txt";
    MemorySettingsStore store;
    wintest::DialogAnswer answer{{}, "OK"};
    wintest::AnswerNextDialog(answer);
    EXPECT_FALSE(ImportRowsFromFile(nullptr, path, store).has_value());
    wintest::StopAnswering();
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(answer.seenTitle, "Fehler");
    EXPECT_EQ(answer.seenText, "Kann Datei " + path + " nicht öffnen");
}

}  // namespace
}  // namespace telvor
