// The form framework: handlers by control and event, Enter/Esc to the default and cancel
// buttons through the message loop, tab order, timers, closing and modal showing.
#include "ui/win/Form.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/win/CallbackGuard.h"
#include "support/WinTestSupport.h"
#include "ui/win/MessageDialogs.h"

namespace telvor {
namespace {

using wintest::PumpUntil;

// Shaped like the caller window: the close button is default and cancel button and first
// in tab order although it is defined last.
FormDef CallerLike(bool dialog) {
    FormDef def{"TCallerForm", "3001"};
    def.left = 189;
    def.top = 174;
    def.clientWidth = 308;
    def.clientHeight = 207;
    def.dialog = dialog;
    def.controls = {
        {.kind = ControlKind::Label,
         .name = "NameL",
         .left = 112,
         .top = 8,
         .width = 185,
         .height = 30,
         .caption = "3010",
         .flags = kBold | kNoPrefix},
        {.kind = ControlKind::Button,
         .name = "AbweisenB",
         .left = 232,
         .top = 48,
         .width = 75,
         .height = 25,
         .caption = "3011",
         .helpContext = 1312,
         .tabOrder = 1},
        {.kind = ControlKind::Button,
         .name = "DatenbankB",
         .left = 232,
         .top = 76,
         .width = 75,
         .height = 25,
         .caption = "3008",
         .helpContext = 2001,
         .tabOrder = 2,
         .flags = kHidden},
        {.kind = ControlKind::Button,
         .name = "CloseB",
         .left = 97,
         .top = 176,
         .width = 113,
         .height = 25,
         .caption = "3009",
         .helpContext = 2000,
         .tabOrder = 0,
         .flags = kDefault | kCancel},
    };
    return def;
}

void PostKey(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

TEST(Form, EnterAndEscPressTheDefaultAndCancelButtonsOfAWindow) {
    FormResult created = Form::Create(CallerLike(false));
    ASSERT_TRUE(created.form) << created.error;
    Form& form = *created.form;
    std::vector<std::string> clicks;
    form.OnClick("CloseB", [&] { clicks.push_back("CloseB"); });
    form.OnClick("AbweisenB", [&] { clicks.push_back("AbweisenB"); });
    form.Show();

    PostKey(form.Control("NameL"), VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return clicks.size() == 1; }));
    PostKey(form.Control("NameL"), VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return clicks.size() == 2; }));
    EXPECT_EQ(clicks, (std::vector<std::string>{"CloseB", "CloseB"}));

    // A disabled button does not answer; a click runs the handler of that button only.
    form.SetEnabled("CloseB", false);
    PostKey(form.Control("NameL"), VK_ESCAPE);
    PumpUntil([] { return false; });
    EXPECT_EQ(clicks.size(), 2u);
    form.Click("AbweisenB");
    form.Click("DatenbankB");  // no handler
    EXPECT_EQ(clicks.back(), "AbweisenB");
    EXPECT_EQ(form.Text("CloseB"), "&Schließen");
    EXPECT_EQ(GetWindowContextHelpId(form.Control("AbweisenB")), 1312u);
    EXPECT_FALSE(IsWindowVisible(form.Control("DatenbankB")));
}

TEST(Form, EscInADialogWindowAndCloseBoxPressCancel) {
    FormResult created = Form::Create(CallerLike(true));
    ASSERT_TRUE(created.form) << created.error;
    Form& form = *created.form;
    int closes = 0;
    form.OnClick("CloseB", [&] { ++closes; });
    form.Show();
    PostKey(form.Control("AbweisenB"), VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return closes == 1; }));
    PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return closes == 2; }));
    EXPECT_TRUE(IsWindow(form.Handle()));  // the handler decides; here it keeps the window
}

TEST(Form, TabOrderFollowsTheTableNotTheDefinitionOrder) {
    FormResult created = Form::Create(CallerLike(false));
    ASSERT_TRUE(created.form) << created.error;
    Form& form = *created.form;
    form.SetVisible("DatenbankB", true);
    HWND first = GetNextDlgTabItem(form.Handle(), nullptr, FALSE);
    EXPECT_EQ(first, form.Control("CloseB"));
    HWND second = GetNextDlgTabItem(form.Handle(), first, FALSE);
    EXPECT_EQ(second, form.Control("AbweisenB"));
    EXPECT_EQ(GetNextDlgTabItem(form.Handle(), second, FALSE), form.Control("DatenbankB"));
}

TEST(Form, CreatedAtItsDesignedPlaceWithItsClientSize) {
    FormResult created = Form::Create(CallerLike(false));
    ASSERT_TRUE(created.form) << created.error;
    RECT client = {}, window = {};
    GetClientRect(created.form->Handle(), &client);
    GetWindowRect(created.form->Handle(), &window);
    EXPECT_EQ(client.right, 308);
    EXPECT_EQ(client.bottom, 207);
    EXPECT_EQ(window.left, 189);
    EXPECT_EQ(window.top, 174);
    EXPECT_EQ(created.form->Text(""), "Telvor - Anrufer");
    EXPECT_NE(created.form->ControlId("CloseB"), 0);
    EXPECT_EQ(GetDlgItem(created.form->Handle(), created.form->ControlId("CloseB")),
              created.form->Control("CloseB"));
    EXPECT_EQ(created.form->Control("Unknown"), nullptr);
}

TEST(Form, LabelsSizeToTextSetLater) {
    FormDef def{"Labels", "3001"};
    def.clientWidth = 300;
    def.clientHeight = 100;
    def.controls = {
        {.kind = ControlKind::Label, .name = "TownL", .left = 112, .top = 64, .caption = "3010"}};
    FormResult created = Form::Create(def);
    ASSERT_TRUE(created.form) << created.error;
    Form& form = *created.form;
    form.SetText("TownL", "Berlin");
    RECT shortText = {};
    GetWindowRect(form.Control("TownL"), &shortText);
    form.SetText("TownL", "Frankfurt am Main (Oder und Umgebung)");
    RECT longText = {};
    GetWindowRect(form.Control("TownL"), &longText);
    EXPECT_GT(shortText.right - shortText.left, 0);
    EXPECT_GT(longText.right - longText.left, shortText.right - shortText.left);
    EXPECT_EQ(form.Text("TownL"), "Frankfurt am Main (Oder und Umgebung)");
}

TEST(Form, TimerModalEndAndDestroyNotice) {
    FormResult created = Form::Create(CallerLike(false));
    ASSERT_TRUE(created.form) << created.error;
    Form& form = *created.form;
    int ticks = 0;
    form.OnTimer(1, [&] {
        ++ticks;
        form.StopTimer(1);
        form.EndModal(IDOK);
    });
    form.StartTimer(1, 20);
    EXPECT_EQ(form.ShowModal(), IDOK);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_FALSE(form.IsModal());

    // Without a close handler or cancel button a modeless form is destroyed on close.
    FormDef plain{"Plain", "1001"};
    plain.clientWidth = 100;
    plain.clientHeight = 50;
    FormResult other = Form::Create(plain);
    ASSERT_TRUE(other.form) << other.error;
    bool destroyed = false;
    other.form->OnDestroy([&] { destroyed = true; });
    HWND hwnd = other.form->Handle();
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return destroyed; }));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(other.form->Handle(), nullptr);
}

TEST(Form, ModalLoopEndsWhenTheWindowIsDestroyedAndKeepsQuit) {
    FormResult created = Form::Create(CallerLike(true));
    ASSERT_TRUE(created.form) << created.error;
    Form& form = *created.form;
    form.OnTimer(7, [&] {
        PostQuitMessage(3);
        form.Destroy();
    });
    form.StartTimer(7, 20);
    EXPECT_EQ(form.ShowModal(), IDCANCEL);
    // The quit request reaches the outer loop.
    MSG msg;
    bool quit = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_QUIT) quit = msg.wParam == 3;
    EXPECT_TRUE(quit);
}

TEST(Form, WiringOrSettingAControlTheFormDoesNotHaveFails) {
    FormResult created = Form::Create(CallerLike(false));
    ASSERT_TRUE(created.form) << created.error;
    Form& form = *created.form;
    try {
        form.OnClick("OkB", [] {});
        ADD_FAILURE() << "an unknown button was wired";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "form TCallerForm has no control OkB");
    }
    EXPECT_THROW(form.OnClick("closeB", [] {}), std::logic_error);  // names are exact
    EXPECT_THROW(form.OnChange("NameE", [] {}), std::logic_error);
    EXPECT_THROW(form.OnNotify("CallsLV", NM_DBLCLK, [](NMHDR&) { return LRESULT{0}; }),
                 std::logic_error);
    EXPECT_THROW(form.SetText("TownL", "Berlin"), std::logic_error);
    EXPECT_THROW(form.SetVisible("DatenbankL", true), std::logic_error);
    EXPECT_THROW(form.Click("OkB"), std::logic_error);
    EXPECT_THROW(form.Text("OkB"), std::logic_error);

    // Known names still wire, "" still is the form's caption, Control stays a plain lookup.
    int clicks = 0;
    form.OnClick("CloseB", [&] { ++clicks; });
    form.Click("CloseB");
    EXPECT_EQ(clicks, 1);
    form.SetText("", "Anrufer");
    EXPECT_EQ(form.Text(""), "Anrufer");
    EXPECT_EQ(form.Control("OkB"), nullptr);
}

TEST(Form, AnUpDownWithoutItsBuddyIsNotCreated) {
    FormDef def{"Steps", "3001"};
    def.clientWidth = 200;
    def.clientHeight = 60;
    def.controls = {
        {.kind = ControlKind::Edit, .name = "DelayE", .width = 40, .height = 21, .caption = "5"},
        {.kind = ControlKind::UpDown, .name = "DelayUD", .buddy = "DelayEdit"},
    };
    FormResult created = Form::Create(def);
    EXPECT_FALSE(created.form);
    EXPECT_EQ(created.error, "Control DelayUD: unknown buddy DelayEdit");

    def.controls[1].buddy = "DelayE";
    created = Form::Create(def);
    ASSERT_TRUE(created.form) << created.error;
    EXPECT_EQ(
        reinterpret_cast<HWND>(SendMessageA(created.form->Control("DelayUD"), UDM_GETBUDDY, 0, 0)),
        created.form->Control("DelayE"));
}

std::vector<std::string> g_reported;
void Record(const std::string& text) noexcept {
    try {
        g_reported.push_back(text);
    } catch (...) {
    }
}

// Clicks come through the form's window procedure, as a user's would.
TEST(Form, WhatAHandlerThrowsIsReportedAndEndsOnlyItsOperation) {
    g_reported.clear();
    const CallbackErrorReporter previous = SetCallbackErrorReporter(Record);
    FormResult created = Form::Create(CallerLike(true));
    ASSERT_TRUE(created.form) << created.error;
    Form& form = *created.form;
    int clicks = 0;
    form.OnClick("CloseB", [&] {
        ++clicks;
        throw std::runtime_error("Die Datenbank ist nicht lesbar.");
    });
    form.OnClick("AbweisenB", [&] {
        ++clicks;
        throw 42;
    });
    form.Show();
    SendMessageA(form.Control("CloseB"), BM_CLICK, 0, 0);
    SendMessageA(form.Control("AbweisenB"), BM_CLICK, 0, 0);
    SendMessageA(form.Control("CloseB"), BM_CLICK, 0, 0);
    SetCallbackErrorReporter(previous);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(g_reported,
              (std::vector<std::string>{"Die Datenbank ist nicht lesbar.", "unknown error",
                                        "Die Datenbank ist nicht lesbar."}));
    EXPECT_TRUE(IsWindow(form.Handle()));
}

// The program's reporter: the error box with the text, for unknown errors too.
TEST(Form, TheProgramsReporterShowsTheErrorBox) {
    const CallbackErrorReporter previous = SetCallbackErrorReporter(ShowCallbackError);
    FormResult created = Form::Create(CallerLike(false));
    ASSERT_TRUE(created.form) << created.error;
    Form& form = *created.form;
    form.OnClick("AbweisenB", [] { throw std::runtime_error("Abweisen ist gescheitert."); });
    form.Show();
    wintest::DialogAnswer answer{"Fehler", "OK"};
    wintest::AnswerNextDialog(answer);
    SendMessageA(form.Control("AbweisenB"), BM_CLICK, 0, 0);
    wintest::StopAnswering();
    SetCallbackErrorReporter(previous);
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(answer.seenText, "Abweisen ist gescheitert.");
}

}  // namespace
}  // namespace telvor
