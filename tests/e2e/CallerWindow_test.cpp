// The caller window as the user sees it: where it opens, what it says about the number and
// the town, and when it closes on its own.
#include <gtest/gtest.h>

#include "support/CallScenario.h"
#include "support/CallerWindowView.h"
#include "support/CaseFolder.h"
#include "support/CaseRegistry.h"
#include "support/WindowProbe.h"

namespace telvor::e2e {

using namespace telvor::test;

namespace {

// Rings and returns the view of the window that opened for it (the newest is lowest).
std::optional<CallerWindowView> RingAndRead(MonitorCase& monitor, std::size_t windowsAfter,
                                            std::uint32_t plci, std::string_view called,
                                            std::string_view calling) {
    const bool rung = calling.empty() ? monitor.RingWithoutNumber(plci, 1, called)
                                      : monitor.Ring(plci, 1, called, calling);
    if (!rung || !monitor.WaitForPut(capisim::kAlert, capisim::kReq, plci)) return std::nullopt;
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(windowsAfter);
    if (windows.size() != windowsAfter) return std::nullopt;
    return ReadCallerWindow(windows.back());
}

TEST(CallerWindow, ThreeCallsCascadeByTheCaptionHeightAndOnlyListedWindowsBlock) {
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());
    const int h = GetSystemMetrics(SM_CYCAPTION);
    ASSERT_GT(h, 0);

    for (std::uint32_t plci : {0x101u, 0x102u, 0x103u}) {
        ASSERT_TRUE(monitor.Ring(plci, 1, "4711", "711123456"));
        ASSERT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, plci));
    }
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(3);
    ASSERT_EQ(windows.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        RECT r{};
        GetWindowRect(windows[static_cast<std::size_t>(k)], &r);
        EXPECT_EQ(r.left, 189 + k * h) << "window " << k;
        EXPECT_EQ(r.top, 174 + k * h) << "window " << k;
    }

    // The first call is cleared: its window stays open but is no longer listed, so it no
    // longer blocks the designed position.
    ASSERT_TRUE(monitor.HangUp(0x101));
    ASSERT_TRUE(WaitForTitleSuffix(windows[0], " - getrennt"));
    const auto fourth = RingAndRead(monitor, 4, 0x104, "4711", "711123456");
    ASSERT_TRUE(fourth);
    std::vector<HWND> now = CallerWindowsByPosition();
    ASSERT_EQ(now.size(), 4u);
    int atDesigned = 0;
    for (HWND w : now) {
        RECT r{};
        GetWindowRect(w, &r);
        if (r.left == 189 && r.top == 174) ++atDesigned;
    }
    EXPECT_EQ(atDesigned, 2) << "the fourth window opens over the cleared first one";
}

TEST(CallerWindow, AutoCloseTimerClosesTheWindowWithoutAnsweringTheCall) {
    WriteSetting("Settings", "CloseCallerForms", "1");
    WriteSetting("Settings", "CloseAfterTime", "1");
    WriteSetting("Settings", "CloseTime", "1500");
    MonitorCase monitor;
    SeedStandardLine(monitor);
    ASSERT_TRUE(monitor.StartListening());

    ASSERT_TRUE(monitor.Ring(0x201, 1, "4711", "711123456"));
    ASSERT_TRUE(monitor.WaitForPut(capisim::kAlert, capisim::kReq, 0x201));
    const std::vector<HWND> windows = WaitForCallerWindowsByPosition(1);
    ASSERT_EQ(windows.size(), 1u);
    // Far below the default minute: the configured 1.5 s are in force.
    EXPECT_TRUE(WaitForWindowGone(windows[0], 20s));
    EXPECT_TRUE(CallerWindowsByPosition().empty());
    EXPECT_TRUE(monitor.Puts(capisim::kConnect, capisim::kResp).empty());
    EXPECT_TRUE(monitor.Puts(capisim::kDisconnect, capisim::kReq).empty());

    // The later clearing finds no window and is answered all the same.
    ASSERT_TRUE(monitor.HangUp(0x201));
    EXPECT_TRUE(monitor.WaitForPut(capisim::kDisconnect, capisim::kResp, 0x201));
    EXPECT_TRUE(monitor.Stop());
    EXPECT_EQ(monitor.Process().ExitCode(), 0u);
}

TEST(CallerWindow, NumbersTownsAndTheDatabaseButton) {
    MonitorCase monitor;  // its AreaCode.txt has N711 Stuttgart and N30 Berlin
    SeedMsn(0, "4711", "Büro");
    WriteCallerDatabase(
        monitor.File("CallerList.ddb"),
        {{"0711", "Raum Stuttgart", false, "", ""}, {"0711 123", "Firma Beispiel", false, "", ""}});
    ASSERT_TRUE(monitor.StartListening());

    // The longer prefix wins, but it is not the whole number: the button offers the entry.
    auto view = RingAndRead(monitor, 1, 0x301, "4711", "711123456");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->number, "(0711) 123456");
    EXPECT_EQ(view->hiddenNumber, "0711 123456");
    EXPECT_EQ(view->town, "Stuttgart");
    EXPECT_EQ(view->name, "Firma Beispiel");
    EXPECT_TRUE(view->databaseVisible);

    // The whole number matched: no button.
    view = RingAndRead(monitor, 2, 0x302, "4711", "711123");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->number, "(0711) 123");
    EXPECT_EQ(view->name, "Firma Beispiel");
    EXPECT_FALSE(view->databaseVisible);

    // Not in the database at all: unknown, button shown.
    view = RingAndRead(monitor, 3, 0x303, "4711", "3098765");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->number, "(030) 98765");
    EXPECT_EQ(view->town, "Berlin");
    EXPECT_EQ(view->name, "unbekannt");
    EXPECT_TRUE(view->databaseVisible);

    // No number: nothing to add.
    view = RingAndRead(monitor, 4, 0x304, "4711", "");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->number, "unbekannt");
    EXPECT_EQ(view->hiddenNumber, "");
    EXPECT_EQ(view->town, "unbekannt");
    EXPECT_EQ(view->name, "unbekannt");
    EXPECT_FALSE(view->databaseVisible);

    // The protocol shows the numbers as the window does.
    const auto lines = ProtocolLines(monitor);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 4u);
    EXPECT_NE((*lines)[0].find(", Firma Beispiel, (0711) 123456, "), std::string::npos);
    EXPECT_NE((*lines)[2].find(", unbekannt, (030) 98765, "), std::string::npos);
    EXPECT_NE((*lines)[3].find(", unbekannt, unbekannt, "), std::string::npos);
    const auto calls = CallListRecords(monitor);
    ASSERT_TRUE(calls);
    ASSERT_EQ(calls->size(), 4u);
    EXPECT_FALSE((*calls)[0].notInDatabase);
    EXPECT_EQ((*calls)[2].name, "(030) 98765");  // unknown callers are listed by number
    EXPECT_TRUE((*calls)[2].notInDatabase);
}

// The monitor keeps the numbers of the caller database in memory. Another program rewrites the
// file between two calls, with the same size, so that a longer number now matches: the second
// call must find it (the record a stale index names would still read as a match).
TEST(CallerWindow, ACallerDatabaseRewrittenBetweenTwoCallsNamesTheNewCaller) {
    MonitorCase monitor;
    SeedStandardLine(monitor);
    const std::string database = monitor.File("CallerList.ddb");
    WriteCallerDatabase(database, {{"0711", "Raum Stuttgart", false, "", ""},
                                   {"0811 1", "Raum Ulm", false, "", ""}});
    // Written long ago: the monitor trusts the numbers it read until the file changes.
    SetWriteTimeBack(database, 60);
    ASSERT_TRUE(monitor.StartListening());

    auto view = RingAndRead(monitor, 1, 0x401, "4711", "711123456");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->name, "Raum Stuttgart");

    WriteCallerDatabase(database, {{"0711", "Raum Stuttgart", false, "", ""},
                                   {"0711 123", "Firma Beispiel", false, "", ""}});
    view = RingAndRead(monitor, 2, 0x402, "4711", "711123456");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->name, "Firma Beispiel");
}

}  // namespace
}  // namespace telvor::e2e
