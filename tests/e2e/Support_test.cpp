// The e2e support itself, against programs Wine ships (cmd, notepad) and windows of the test:
// the other e2e tests rely on it to see what the programs under test really did.
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <shellapi.h>  // needs windows.h first
// clang-format on

#include <future>
#include <string>
#include <vector>

#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/ChildProcess.h"
#include "support/FakeWindow.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

std::string SystemProgram(const char* name) {
    char dir[MAX_PATH];
    const UINT n = GetSystemDirectoryA(dir, sizeof dir);
    return JoinPath(std::string(dir, n), name);
}

TEST(E2eSupport, LaunchesWithWorkFolderEnvironmentAndExitCode) {
    const std::string folder = MakeCaseFolder("work folder");
    const RunResult run =
        RunProgram(LaunchOptions(SystemProgram("cmd.exe"),
                                 {"/c", "echo", "%TELVOR_PROBE%&", "cd&", "exit", "7"})
                       .In(folder)
                       .Env("TELVOR_PROBE", "probe value"));
    EXPECT_EQ(run.exitCode, 7u);
    EXPECT_NE(run.out.find("probe value"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("work folder"), std::string::npos) << run.out;
}

TEST(E2eSupport, QuotedArgumentsComeBackUnchanged) {
    const std::vector<std::string> args = {
        "plain", "", "two words", "a\"b", "end\\", "with space\\", "x\\\\\"y", "\\\\server\\share"};
    std::string commandLine = "prog.exe";
    for (const auto& arg : args) commandLine += ' ' + QuoteArgument(arg);
    int count = 0;
    const std::wstring wide(commandLine.begin(), commandLine.end());
    LPWSTR* parsed = CommandLineToArgvW(wide.c_str(), &count);
    ASSERT_NE(parsed, nullptr);
    ASSERT_EQ(count, static_cast<int>(args.size()) + 1) << commandLine;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring expected(args[i].begin(), args[i].end());
        EXPECT_EQ(std::wstring(parsed[i + 1]), expected) << commandLine;
    }
    LocalFree(parsed);
}

TEST(E2eSupport, FindsReadsAndTerminatesAWindowedProgram) {
    DWORD pid = 0;
    {
        ChildProcess notepad(LaunchOptions(SystemProgram("notepad.exe")));
        pid = notepad.Pid();
        const HWND main = WaitForTopLevelWindow("Notepad", "");
        ASSERT_NE(main, nullptr);
        EXPECT_FALSE(WindowText(main).empty());
        EXPECT_TRUE(FindChildByClass(main, "EDIT").has_value()) << "class names ignore case";
        EXPECT_TRUE(notepad.IsRunning());
        EXPECT_FALSE(notepad.ExitCode().has_value());

        notepad.Terminate();
        EXPECT_FALSE(notepad.IsRunning());
        EXPECT_EQ(notepad.ExitCode(), 1u);
        EXPECT_TRUE(WaitForWindowGone(main));
    }
    // And a program still running when its owner goes is ended with it.
    KernelHandle second;
    {
        ChildProcess notepad(LaunchOptions(SystemProgram("notepad.exe")));
        second.reset(OpenProcess(SYNCHRONIZE, FALSE, notepad.Pid()));
        ASSERT_TRUE(second);
        ASSERT_NE(WaitForTopLevelWindow("Notepad", ""), nullptr);
    }
    EXPECT_EQ(WaitForSingleObject(second.get(), 0), WAIT_OBJECT_0);
    EXPECT_NE(pid, 0u);
}

TEST(E2eSupport, PressesADialogButtonByItsText) {
    auto answer = std::async(std::launch::async, [] {
        return MessageBoxA(nullptr, "Frage", "Telvor e2e", MB_OKCANCEL);
    });
    const HWND dialog = WaitForTopLevelWindow("#32770", "Telvor e2e");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(FindChildByText(dialog, "Frage").has_value());
    EXPECT_FALSE(PressButton(dialog, "no such button"));
    ASSERT_TRUE(PressButton(dialog, "OK"));
    ASSERT_EQ(answer.wait_for(20s), std::future_status::ready);
    EXPECT_EQ(answer.get(), IDOK);
}

TEST(E2eSupport, FakeWindowRecordsControlMessagesInOrder) {
    FakeWindow first("TelvorProbeA", "Probe");
    FakeWindow second("TelvorProbeB", "Probe");
    EXPECT_EQ(FindWindowA("TelvorProbeA", "Probe"), first.Handle());
    SendMessageA(second.Handle(), 0x403, 1, 0);
    SendMessageA(first.Handle(), 0x402, 0, 0);
    SendMessageA(first.Handle(), 0x404, 0, 0);  // not a control message
    PostMessageA(first.Handle(), 0x401, 1, 0x203);
    ASSERT_TRUE(first.WaitForMessages(2));

    const auto a = first.Messages();
    const auto b = second.Messages();
    ASSERT_EQ(a.size(), 2u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].message, 0x403u);
    EXPECT_EQ(b[0].wParam, 1u);
    EXPECT_EQ(a[0].message, 0x402u);
    EXPECT_EQ(a[1].message, 0x401u);
    EXPECT_EQ(a[1].lParam, 0x203);
    EXPECT_LT(b[0].sequence, a[0].sequence);
    EXPECT_LT(a[0].sequence, a[1].sequence);
}

TEST(E2eSupport, SettingsAndFilesRoundTrip) {
    EXPECT_FALSE(ReadSetting("", "LastCall").has_value()) << "a fresh prefix has no settings";
    WriteSetting("", "LastCall", "Anruf von Müller");
    WriteSetting("MSN\\1", "Number", "4711");
    EXPECT_EQ(ReadSetting("", "LastCall"), "Anruf von Müller");
    EXPECT_EQ(ReadSetting("MSN\\1", "Number"), "4711");
    EXPECT_TRUE(SettingsKeyExists("MSN\\1"));
    EXPECT_EQ(SettingNames(""), std::vector<std::string>{"LastCall"});
    DeleteSetting("", "LastCall");
    EXPECT_FALSE(ReadSetting("", "LastCall").has_value());

    const std::string path = JoinPath(CaseDir(), "bytes.bin");
    const std::string bytes("a\r\n\0\xFF", 5);
    WriteFileBytes(path, bytes);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_FALSE(ReadFileBytes(JoinPath(CaseDir(), "missing.bin")).has_value());
}

}  // namespace
}  // namespace telvor::e2e
