// Help on F1: the monitor asks the shell to open the topic page of the focused control, and
// the shell starts whatever program the user's browser is. Here that program is a recorder
// registered for .html in the case's own registry.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <optional>
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

// The page the recorder was asked to open, lower case; empty when it was not started.
std::string OpenedPage(const std::string& recordFile) {
    if (!PollUntil(30s, [&] { return FileExists(recordFile); })) return {};
    const std::string line = Lower(ReadFileBytes(recordFile).value_or(""));
    DeleteFileA(recordFile.c_str());  // ready for the next request
    return line;
}

TEST(Help, F1AndTheHelpButtonOpenTheControlsTopicPageInTheBrowser) {
    MonitorCase monitor;
    CopyFolderFromBin(monitor.Folder(), "Hilfe");
    CopyFromBin(CaseDir(), {"ArgsRecorder.exe"});
    const std::string recorder = JoinPath(CaseDir(), "ArgsRecorder.exe");
    RegisterHtmlHandler(recorder);
    const auto page = [&](const char* name) {
        return "\"" + Lower(JoinPath(monitor.Folder(), std::string("Hilfe\\") + name)) + "\"";
    };

    ASSERT_TRUE(monitor.StartListening({"/noicon"}));
    ASSERT_TRUE(monitor.Send(kShowConfigMessage));
    const HWND configure = WaitForVisibleWindow("#32770", "Telvor einrichten", 20s);
    ASSERT_NE(configure, nullptr);

    // F1: the dialog opens on the caller database with its list focused.
    HWND focus = nullptr;
    ASSERT_TRUE(PollUntil(10s, [&] { return (focus = FocusOf(configure)) != nullptr; }));
    ASSERT_EQ(WindowClass(focus), "SysListView32");
    ASSERT_TRUE(PostMessageA(focus, kKeyF1, 0, 0));
    std::string line = OpenedPage(recorder + ".txt");
    ASSERT_FALSE(line.empty()) << "the shell started no program for the help page";
    EXPECT_NE(line.find(page("1005.html")), std::string::npos)
        << "the names list's topic (context 1005) must be opened: " << line;

    // The title bar's help button and a click on a radio button of the dmail page, which has
    // no context of its own: the help mode ends in WM_HELP for the clicked control, and the
    // topic is its group's.
    const std::optional<ChildControl> item = FindChildByText(configure, "...allen Anrufen");
    ASSERT_TRUE(item);
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = item->id;
    info.hItemHandle = item->window;
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(configure, WM_HELP, 0, reinterpret_cast<LPARAM>(&info),
                                    SMTO_ABORTIFHUNG, 10000, &answer));
    line = OpenedPage(recorder + ".txt");
    EXPECT_NE(line.find(page("1314.html")), std::string::npos)
        << "the dmail group's topic (context 1314) must be opened: " << line;
    EXPECT_TRUE(IsWindowVisible(configure)) << "the dialog stays as it was";
}

}  // namespace telvor::e2e
