// The caller and MSN actions and the two protocol-file commands, with their dialogs answered
// the way a user would. Every wait is bounded.
#include "monitor/win/Actions.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/WinTestSupport.h"

namespace telvor {
namespace {

using test::AnyVisibleWindowOfThisProcess;
using wintest::CaseDir;
using wintest::DialogAnswer;

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// The next program dialog, whatever its title, is read and answered with `button`.
DialogAnswer g_answer;

void AnswerNextDialog(const std::string& button) {
    g_answer = {{}, button};
    wintest::AnswerNextDialog(g_answer);
}

TEST(CallActions, SoundFileIsToldByItsLastFourCharacters) {
    EXPECT_TRUE(IsSoundFile("C:\\Klang\\ring.wav"));
    EXPECT_TRUE(IsSoundFile("RING.WaV"));
    EXPECT_TRUE(IsSoundFile(".wav"));
    EXPECT_FALSE(IsSoundFile("wav"));
    EXPECT_FALSE(IsSoundFile("ring.wave"));
    EXPECT_FALSE(IsSoundFile("ring.wav.exe"));
    EXPECT_FALSE(IsSoundFile(""));
}

TEST(CallActions, ProgramGetsItsParametersAndFailuresStayQuiet) {
    const std::string out = CaseDir() + "\\action.txt";
    DeleteFileA(out.c_str());
    StartCallProgram("cmd.exe", "/c echo Hans Muster> \"" + out + "\"");
    const DWORD start = GetTickCount();
    while (FirstLine(out).empty() && GetTickCount() - start < 20000) Sleep(50);
    EXPECT_EQ(FirstLine(out).substr(0, 11), "Hans Muster");

    // Neither a missing program nor a missing sound file shows anything.
    StartCallProgram("C:\\Nirgends\\fehlt.exe", "x");
    RunCallAction("C:\\Nirgends\\fehlt.WAV", "", SoundMode::Sync);
    PlayCallSound("C:\\Nirgends\\fehlt.wav", SoundMode::Async);
    RunCallAction("", "ignored", SoundMode::Sync);
    Sleep(300);
    EXPECT_FALSE(AnyVisibleWindowOfThisProcess());
}

class ProtocolActions : public ::testing::Test {
  protected:
    void SetUp() override {
        path = CaseDir() + "\\Mein Protokoll.log";
        DeleteFileA(path.c_str());
    }
    void Create() { std::ofstream(path, std::ios::binary) << "8.12.2026, 00:07, Hans Muster\r\n"; }
    std::string path;
    std::vector<std::string> commands;
    CommandRunner recorder = [this](const std::string& c) { commands.push_back(c); };
};

TEST_F(ProtocolActions, ShowOpensNotepadWithThePlainPath) {
    Create();
    EXPECT_TRUE(ShowProtocol(path, nullptr, recorder));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0], "Notepad " + path);
}

TEST_F(ProtocolActions, ShowOfMissingFileReportsError) {
    AnswerNextDialog("OK");
    EXPECT_FALSE(ShowProtocol(path, nullptr, recorder));
    EXPECT_TRUE(g_answer.answered);
    EXPECT_EQ(g_answer.seenTitle, "Fehler");
    EXPECT_EQ(g_answer.seenText, "Die Protokolldatei wurde nicht gefunden.");
    EXPECT_TRUE(commands.empty());
}

TEST_F(ProtocolActions, DeleteAsksAndOnlyYesDeletes) {
    Create();
    AnswerNextDialog("&Nein");
    EXPECT_FALSE(DeleteProtocol(path));
    EXPECT_TRUE(g_answer.answered);
    EXPECT_EQ(g_answer.seenTitle, "Bestätigen");
    EXPECT_EQ(g_answer.seenText, "Soll die Protokolldatei wirklich gelöscht werden?");
    EXPECT_TRUE(Exists(path));

    AnswerNextDialog("&Ja");
    EXPECT_TRUE(DeleteProtocol(path));
    EXPECT_TRUE(g_answer.answered);
    EXPECT_FALSE(Exists(path));

    AnswerNextDialog("OK");
    EXPECT_FALSE(DeleteProtocol(path));
    EXPECT_EQ(g_answer.seenText, "Die Protokolldatei wurde nicht gefunden.");
}

TEST_F(ProtocolActions, AFolderIsNoProtocolFile) {
    CreateDirectoryA(path.c_str(), nullptr);
    AnswerNextDialog("OK");
    EXPECT_FALSE(DeleteProtocol(path));
    EXPECT_EQ(g_answer.seenText, "Die Protokolldatei wurde nicht gefunden.");
    RemoveDirectoryA(path.c_str());
}

}  // namespace
}  // namespace telvor
