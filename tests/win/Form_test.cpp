// The form framework: handlers by control and event, Enter/Esc to the default and cancel
// buttons through the message loop, tab order, timers, closing and modal showing.
#include "ui/win/Form.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/WinTestSupport.h"

namespace telvor {
namespace {

using test::PressKeyIn;
using wintest::BlankForm;
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

TEST(Form, EnterAndEscPressTheDefaultAndCancelButtonsOfAWindow) {
    FormResult created = Form::Create(CallerLike(false));
    ASSERT_TRUE(created.form) << created.error;
    Form& form = *created.form;
    std::vector<std::string> clicks;
    form.OnClick("CloseB", [&] { clicks.push_back("CloseB"); });
    form.OnClick("AbweisenB", [&] { clicks.push_back("AbweisenB"); });
    form.Show();

    PressKeyIn(form.Control("NameL"), VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return clicks.size() == 1; }));
    PressKeyIn(form.Control("NameL"), VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return clicks.size() == 2; }));
    EXPECT_EQ(clicks, (std::vector<std::string>{"CloseB", "CloseB"}));

    // A disabled button does not answer; a click runs the handler of that button only.
    form.SetEnabled("CloseB", false);
    PressKeyIn(form.Control("NameL"), VK_ESCAPE);
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
    PressKeyIn(form.Control("AbweisenB"), VK_ESCAPE);
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
    FormDef def = BlankForm("Labels", "3001", 300, 100);
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
    FormResult other = Form::Create(BlankForm("Plain", "1001", 100, 50));
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

}  // namespace
}  // namespace telvor
