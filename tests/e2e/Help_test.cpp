// Help on F1: the monitor asks the shell to open the topic page of the focused control, and
// the shell starts whatever program the user's browser is. Here that program is a recorder
// registered for .html in the case's own registry.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <string>

#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/MonitorCase.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

constexpr UINT kKeyF1 = 0x004D;  // WM_KEYF1: what the system posts to the focused window for F1

// Paths compared as Windows compares them: without regard to case.
std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Makes `recorder` the program that opens .html files. Wine's HKEY_CLASSES_ROOT holds only
// the machine's classes (a user's own under HKCU\Software\Classes are not merged in), so
// the handler is registered there, in the case's own prefix.
void RegisterHtmlHandler(const std::string& recorder) {
    const std::string classes = "Software\\Classes\\";
    WriteUserValue(HKEY_LOCAL_MACHINE, classes + ".html", "", "TelvorCase.html");
    WriteUserValue(HKEY_LOCAL_MACHINE, classes + "TelvorCase.html\\shell\\open\\command", "",
                   "\"" + recorder + "\" \"%1\"");
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

}  // namespace

TEST(Help, F1OnTheFocusedControlOpensItsTopicPageInTheBrowser) {
    MonitorCase monitor;
    CopyFolderFromBin(monitor.Folder(), "Hilfe");
    CopyFromBin(CaseDir(), {"ArgsRecorder.exe"});
    const std::string recorder = JoinPath(CaseDir(), "ArgsRecorder.exe");
    const std::string opened = recorder + ".txt";
    RegisterHtmlHandler(recorder);

    ASSERT_TRUE(monitor.StartListening({"/noicon"}));
    ASSERT_TRUE(monitor.Send(kShowConfigMessage));
    const HWND configure = WaitForVisibleWindow("#32770", "Telvor einrichten", 20s);
    ASSERT_NE(configure, nullptr);

    // The dialog opens on the caller database with its list focused.
    HWND focus = nullptr;
    ASSERT_TRUE(PollUntil(10s, [&] { return (focus = FocusOf(configure)) != nullptr; }));
    ASSERT_EQ(WindowClass(focus), "SysListView32");
    ASSERT_TRUE(PostMessageA(focus, kKeyF1, 0, 0));

    ASSERT_TRUE(PollUntil(30s, [&] { return FileExists(opened); }))
        << "the shell started no program for the help page";
    const std::string line = Lower(ReadFileBytes(opened).value_or(""));
    const std::string page = Lower(JoinPath(monitor.Folder(), "Hilfe\\1005.html"));
    EXPECT_NE(line.find("\"" + page + "\""), std::string::npos)
        << "the names list's topic (context 1005) must be opened: " << line;
    EXPECT_TRUE(IsWindowVisible(configure)) << "the dialog stays as it was";
}

}  // namespace telvor::e2e
