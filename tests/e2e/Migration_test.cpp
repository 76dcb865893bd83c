// A PC with the data of an earlier version under the local machine's key: the first start of
// this version moves it into the current user's tree and the two record files, erases the old
// tree and writes the network DDE share.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>

#include "base/StringTable.h"
#include "store/CallList.h"
#include "store/CallerDatabase.h"
#include "store/LocaleDateTime.h"
#include "store/win/RegistrySettingsStore.h"
#include "support/CaseFiles.h"
#include "support/CaseRegistry.h"
#include "support/MonitorCase.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {
namespace {

const std::string kLegacy = "Software\\Orbek\\Telvor\\";

// The call's date and time as the earlier version wrote them: in the system's format.
std::string SystemText(bool date) {
    SYSTEMTIME t{};
    t.wYear = 1999;
    t.wMonth = 12;
    t.wDay = 24;
    t.wHour = 18;
    t.wMinute = 30;
    t.wSecond = 15;
    char text[64] = {};
    if (date)
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, text, sizeof text);
    else
        GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, text, sizeof text);
    return text;
}

// A first start shows the configuration dialog on its MSN page with the greeting; once the
// greeting is closed the MSN list has the focus, ready for the first number.
void ExpectTheGreetingOnTheMsnPage(DWORD pid) {
    using namespace test;
    HWND greeting = nullptr;
    ASSERT_TRUE(PollUntil(20s, [&] {
        for (HWND dialog :
             TopLevelWindows({.className = "#32770", .visibleOnly = true, .process = pid}))
            if (FindChildByText(dialog, LoadStr(20016))) greeting = dialog;
        return greeting != nullptr;
    })) << "no greeting";
    const HWND configure = ConfigureDialog();
    ASSERT_NE(configure, nullptr);
    EXPECT_TRUE(IsWindowVisible(configure));
    const auto pages = FindChildByClass(configure, "SysTabControl32");
    ASSERT_TRUE(pages);
    EXPECT_EQ(SendMessageA(pages->window, TCM_GETCURSEL, 0, 0), 2) << "the MSN page";

    ASSERT_TRUE(PressButton(greeting, "OK"));
    ASSERT_TRUE(WaitForWindowGone(greeting));
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    ASSERT_TRUE(PollUntil(
        5s,
        [&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(configure, nullptr), &focus) &&
                   focus.hwndFocus && WindowClass(focus.hwndFocus) == "SysListView32" &&
                   IsWindowVisible(focus.hwndFocus);
        }))
        << "focus on " << WindowClass(focus.hwndFocus);
}

TEST(Migration, TheFirstStartMovesTheLegacyTreeAndErasesIt) {
    MonitorCase monitor;
    monitor.FirstStart();
    WriteFileBytes(monitor.File("CallerList.ddb"), std::string(kCallerRecordSize, 'x'));
    RegistrySettingsStore machine(HKEY_LOCAL_MACHINE, "");
    machine.WriteString(kLegacy + "ExcludedMSNs", "4711", "");
    machine.WriteString(kLegacy + "CallerList", "0711123*", "Hans Muster");
    machine.WriteString(kLegacy + "CallerList", "0711456", "Firma");
    machine.WriteString(kLegacy + "CallerList\\0711123*", "Programme", "c:\\hans.wav");
    for (const char* call : {"Calls\\00000000", "Calls\\00000001", "Calls\\00000003"}) {
        machine.WriteString(kLegacy + call, "Date", SystemText(true));
        machine.WriteString(kLegacy + call, "Time", SystemText(false));
        machine.WriteString(kLegacy + call, "Name", call);
        machine.WriteString(kLegacy + call, "Called", "4712");
    }
    machine.WriteString(kLegacy + "Settings", "Alert", "0");
    machine.WriteString(kLegacy + "Settings", "ProtocolFile", "c:\\old.log");
    machine.WriteString(kLegacy + "MSNs\\00000001", "Number", "999");  // not read: no entry 0
    machine.WriteString("Software\\Orbek\\Other", "Keep", "1");

    ASSERT_TRUE(monitor.StartListening());
    ExpectTheGreetingOnTheMsnPage(monitor.Process().Pid());
    const auto migrated = LoadCallers(monitor.File("CallerList.ddb"));
    ASSERT_EQ(migrated.size(), 2u);
    EXPECT_EQ(migrated[0].number, "0711123");
    EXPECT_EQ(ReadFileBytes(monitor.File("CallerList.bak")).value_or("").size(), kCallerRecordSize);
    // The dialog's first showing gave the old numbers their blank; "Ok" stores them.
    const HWND configure = ConfigureDialog();
    ASSERT_TRUE(test::PressButton(configure, "Ok"));
    ASSERT_TRUE(test::WaitForWindowHidden(configure, 10s));
    ASSERT_TRUE(monitor.Stop());

    const auto callers = LoadCallers(monitor.File("CallerList.ddb"));
    ASSERT_EQ(callers.size(), 2u);
    EXPECT_EQ(callers[0].number, "0711 123");
    EXPECT_EQ(callers[0].program, "c:\\hans.wav");
    EXPECT_EQ(callers[1].number, "0711 456");
    EXPECT_EQ(callers[1].name, "Firma");
    const auto calls = LoadCalls(monitor.File("Calls.ddb"));
    ASSERT_EQ(calls.size(), 2u) << "the gap at 00000002 ends the calls";
    EXPECT_EQ(calls[1].name, "Calls\\00000001");
    EXPECT_DOUBLE_EQ(calls[0].time, EncodeDateTime(1999, 12, 24, 18, 30, 15));

    EXPECT_EQ(ReadSetting("MSNs\\00000000", "Number"), "4711");
    EXPECT_EQ(ReadSetting("MSNs\\00000000\\Show", "Audio"), "0");
    EXPECT_EQ(ReadSetting("Settings", "Alert"), "0");
    EXPECT_FALSE(ReadSetting("Settings", "ProtocolFile").has_value());
    EXPECT_EQ(ReadSetting("Settings", "Version"), "2.00");

    EXPECT_FALSE(machine.SectionExists("Software\\Orbek\\Telvor"));
    EXPECT_EQ(machine.ReadString("Software\\Orbek\\Other", "Keep", ""), "1");
    EXPECT_EQ(machine.ReadString("SOFTWARE\\Microsoft\\NetDDE\\DDE Shares\\TELVS$", "Topic", ""),
              "TelvorServer");
}

}  // namespace
}  // namespace telvor::e2e
