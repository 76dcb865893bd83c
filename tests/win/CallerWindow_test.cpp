// The caller window as the user and a screen reader meet it: its controls read with
// WM_GETTEXT, its placement among other caller windows, the ways it closes and the reject
// question answered the way a user would. Every wait is bounded.
#include "monitor/win/CallerWindow.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "support/WinTestSupport.h"
#include "ui/win/Form.h"

namespace telvor {
namespace {

using test::WindowClass;
using test::WindowText;
using wintest::DialogAnswer;
using wintest::PumpFor;
using wintest::PumpUntil;

CallerLabels HansMuster() {
    CallerLabels labels;
    labels.number = "(0711) 123456";
    labels.hiddenNumber = "0711 123456";
    labels.msn = "Büro (4711)";
    labels.service = "Telefongespräch oder Analog";
    labels.name = "Hans Muster";
    labels.dateTime = "8.12.2026  00:07";
    labels.town = "Stuttgart";
    return labels;
}

// A control's rectangle in the client coordinates of its form.
RECT ClientRectOf(HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LONG WeightOf(HWND control) {
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font.lfWeight;
}

class CallerFormTest : public ::testing::Test {
  protected:
    std::unique_ptr<TCallerForm> Make(const CallerLabels& labels = HansMuster(),
                                      std::vector<int> tops = {}) {
        auto form = TCallerForm::Create(nullptr, labels, tops);
        EXPECT_NE(form, nullptr);
        if (form) {
            form->OnClosed = [this](TCallerForm& closing) {
                ++closedCount;
                closedHandle = closing.Handle();
                // The owner frees the form right inside the callback, as the main window does.
                if (owned.get() == &closing) owned.reset();
            };
        }
        return form;
    }

    HWND Control(const char* name) { return owned->Window()->Control(name); }

    void Answer(const std::string& title, const std::string& button) {
        answer = {title, button};
        wintest::AnswerNextDialog(answer);
    }

    void TearDown() override {
        wintest::StopAnswering();
        owned.reset();
        PumpFor(50);
    }

    std::unique_ptr<TCallerForm> owned;
    int closedCount = 0;
    HWND closedHandle = nullptr;
    DialogAnswer answer;
};

TEST_F(CallerFormTest, WindowAndControlsAsDesigned) {
    owned = Make();
    ASSERT_TRUE(owned);
    HWND hwnd = owned->Handle();
    EXPECT_EQ(WindowClass(hwnd), "#32770");
    EXPECT_EQ(WindowText(hwnd), "Telvor - Anrufer");
    EXPECT_FALSE(IsWindowVisible(hwnd)) << "created hidden; the pipeline shows it";

    RECT client = {};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 308);
    EXPECT_EQ(client.bottom, 207);
    RECT frame = {};
    GetWindowRect(hwnd, &frame);
    EXPECT_EQ(frame.left, 189);
    EXPECT_EQ(frame.top, 174);
    EXPECT_EQ(owned->Top(), 174);

    const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(exStyle & WS_EX_CONTEXTHELP);

    struct Expected {
        const char* name;
        int left, top, width, height;  // width/height 0: sized to the text
        const char* text;
        bool visible;
    };
    const Expected expected[] = {
        {"Label2", 8, 8, 0, 0, "Anrufer:", true},
        {"NameL", 112, 8, 185, 30, "Hans Muster", true},
        {"Label4", 8, 40, 0, 0, "Telefonnummer:", true},
        {"CallingL", 112, 40, 0, 0, "(0711) 123456", true},
        {"Nummer2", 152, 48, 0, 0, "0711 123456", false},
        {"Label6", 8, 64, 0, 0, "Aus Ortsnetz:", true},
        {"TownL", 112, 64, 0, 0, "Stuttgart", true},
        {"Label1", 8, 88, 0, 0, "Anruf für MSN:", true},
        {"CalledL", 112, 88, 0, 0, "Büro (4711)", true},
        {"Label5", 8, 112, 0, 0, "Datum/Uhrzeit:", true},
        {"TimeL", 112, 112, 0, 0, "8.12.2026  00:07", true},
        {"Label3", 8, 136, 0, 0, "Art des Anrufs:", true},
        {"ServiceL", 112, 136, 0, 0, "Telefongespräch oder Analog", true},
        {"GetrenntL", 9, 160, 0, 0, "", true},
        {"AbweisenB", 232, 48, 75, 25, "&Abweisen", true},
        {"DatenbankB", 232, 76, 75, 25, "&Datenbank...", false},
        {"CloseB", 97, 176, 113, 25, "&Schließen", true},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        HWND c = Control(e.name);
        ASSERT_NE(c, nullptr);
        const RECT r = ClientRectOf(c);
        EXPECT_EQ(r.left, e.left);
        EXPECT_EQ(r.top, e.top);
        if (e.width) {
            EXPECT_EQ(r.right - r.left, e.width);
            EXPECT_EQ(r.bottom - r.top, e.height);
        } else if (e.text[0]) {
            EXPECT_GT(r.right - r.left, 0) << "a label shows its whole text";
        }
        EXPECT_EQ(WindowText(c), e.text);
        // The form itself is still hidden: the control's own flag counts.
        EXPECT_EQ((GetWindowLongPtrA(c, GWL_STYLE) & WS_VISIBLE) != 0, e.visible);
    }

    // Name, number and status are bold; the other values are not.
    EXPECT_GT(WeightOf(Control("NameL")), WeightOf(Control("TownL")));
    EXPECT_GT(WeightOf(Control("CallingL")), WeightOf(Control("TownL")));
    EXPECT_GT(WeightOf(Control("GetrenntL")), WeightOf(Control("TownL")));

    EXPECT_TRUE(GetWindowLongPtrA(Control("CloseB"), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowContextHelpId(Control("AbweisenB")), 1312u);
    EXPECT_EQ(GetWindowContextHelpId(Control("DatenbankB")), 2001u);
    EXPECT_EQ(GetWindowContextHelpId(Control("CloseB")), 2000u);
}

TEST_F(CallerFormTest, TabOrderAndDatabaseButtonForInexactCaller) {
    CallerLabels labels = HansMuster();
    labels.databaseButton = true;
    owned = Make(labels);
    ASSERT_TRUE(owned);
    owned->Show(7);
    owned->EnableReject(true);  // held: a disabled button is no tab stop
    EXPECT_TRUE(IsWindowVisible(Control("DatenbankB")));
    HWND hwnd = owned->Handle();
    HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    EXPECT_EQ(first, Control("CloseB"));
    EXPECT_EQ(GetNextDlgTabItem(hwnd, first, FALSE), Control("AbweisenB"));
    EXPECT_EQ(GetNextDlgTabItem(hwnd, Control("AbweisenB"), FALSE), Control("DatenbankB"));
}

TEST_F(CallerFormTest, EmptyLabelsAndDataWithAmpersand) {
    CallerLabels labels;
    labels.name = "Müller & Söhne";
    owned = Make(labels);
    ASSERT_TRUE(owned);
    for (const char* name :
         {"CallingL", "Nummer2", "TownL", "CalledL", "TimeL", "ServiceL", "GetrenntL"})
        EXPECT_EQ(WindowText(Control(name)), "") << name;
    EXPECT_EQ(WindowText(Control("NameL")), "Müller & Söhne");
    // Shown as written: the ampersand is no mnemonic.
    EXPECT_TRUE(GetWindowLongPtrA(Control("NameL"), GWL_STYLE) & SS_NOPREFIX);
}

TEST_F(CallerFormTest, ShowStoresPlciAndMarkClearedChangesTexts) {
    owned = Make();
    ASSERT_TRUE(owned);
    owned->Show(-5);
    EXPECT_EQ(owned->PLCI(), -5);
    EXPECT_TRUE(IsWindowVisible(owned->Handle()));
    // Shown before the pipeline has decided to hold the call: nothing to reject yet, so a
    // click during the dmail wait cannot send a second answer for an ignored call.
    EXPECT_FALSE(IsWindowEnabled(Control("AbweisenB")));
    SendMessageA(Control("AbweisenB"), BM_CLICK, 0, 0);

    owned->EnableReject(false);
    EXPECT_FALSE(IsWindowEnabled(Control("AbweisenB")));
    owned->EnableReject(true);
    EXPECT_TRUE(IsWindowEnabled(Control("AbweisenB")));

    owned->MarkCallCleared();
    EXPECT_EQ(WindowText(Control("GetrenntL")), "Anruf angenommen oder getrennt");
    EXPECT_EQ(WindowText(owned->Handle()), "Telvor - Anrufer - getrennt");
    EXPECT_EQ(closedCount, 0) << "marking does not close";
}

TEST_F(CallerFormTest, ThreeWindowsCascadeByCaptionHeight) {
    const int h = GetSystemMetrics(SM_CYCAPTION);
    auto first = Make();
    auto second = Make(HansMuster(), {first->Top()});
    auto third = Make(HansMuster(), {first->Top(), second->Top()});
    ASSERT_TRUE(first && second && third);
    RECT r = {};
    GetWindowRect(first->Handle(), &r);
    EXPECT_EQ(r.left, 189);
    EXPECT_EQ(r.top, 174);
    GetWindowRect(second->Handle(), &r);
    EXPECT_EQ(r.left, 189 + h);
    EXPECT_EQ(r.top, 174 + h);
    GetWindowRect(third->Handle(), &r);
    EXPECT_EQ(r.left, 189 + 2 * h);
    EXPECT_EQ(r.top, 174 + 2 * h);
}

TEST_F(CallerFormTest, OnlyTheTopOfListedWindowsBlocksAPosition) {
    const int h = GetSystemMetrics(SM_CYCAPTION);
    auto first = Make();
    auto second = Make(HansMuster(), {first->Top()});
    ASSERT_TRUE(first && second);

    // Moved sideways only: its top still blocks the designed row.
    SetWindowPos(first->Handle(), nullptr, 500, 174, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    auto third = Make(HansMuster(), {first->Top(), second->Top()});
    RECT r = {};
    GetWindowRect(third->Handle(), &r);
    EXPECT_EQ(r.top, 174 + 2 * h);

    // Moved down: the designed position is free again.
    SetWindowPos(first->Handle(), nullptr, 189, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    auto fourth = Make(HansMuster(), {first->Top(), second->Top(), third->Top()});
    GetWindowRect(fourth->Handle(), &r);
    EXPECT_EQ(r.left, 189);
    EXPECT_EQ(r.top, 174);

    // A window no longer listed does not count at all.
    auto fifth = Make(HansMuster(), {});
    GetWindowRect(fifth->Handle(), &r);
    EXPECT_EQ(r.top, 174);
}

// Button, Esc, Enter, the close box and the timer: each closes once, and the owner frees
// the form from inside its own handler without harm.
TEST_F(CallerFormTest, EveryClosePathClosesOnceAndFreesWindow) {
    struct Path {
        const char* name;
        void (*trigger)(TCallerForm&);
    };
    const Path paths[] = {
        {"button",
         [](TCallerForm& f) { SendMessageA(f.Window()->Control("CloseB"), BM_CLICK, 0, 0); }},
        {"Esc",
         [](TCallerForm& f) {
             PostMessageA(f.Window()->Control("CloseB"), WM_KEYDOWN, VK_ESCAPE, 0);
         }},
        {"Enter",
         [](TCallerForm& f) {
             PostMessageA(f.Window()->Control("CloseB"), WM_KEYDOWN, VK_RETURN, 0);
         }},
        {"close box", [](TCallerForm& f) { PostMessageA(f.Handle(), WM_CLOSE, 0, 0); }},
        {"timer", [](TCallerForm& f) { f.StartAutoClose(100); }},
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        closedCount = 0;
        owned = Make();
        ASSERT_TRUE(owned);
        owned->Show(1);
        HWND hwnd = owned->Handle();
        path.trigger(*owned);
        EXPECT_TRUE(PumpUntil([&] { return closedCount > 0; }));
        PumpFor(250);  // a second timer tick or key must not close again
        EXPECT_EQ(closedCount, 1);
        EXPECT_EQ(closedHandle, hwnd) << "the owner can still unlist it by its window";
        EXPECT_EQ(owned, nullptr);
        EXPECT_FALSE(IsWindow(hwnd));
    }
}

TEST_F(CallerFormTest, ZeroIntervalLeavesTheTimerOff) {
    owned = Make();
    ASSERT_TRUE(owned);
    owned->StartAutoClose(0);
    owned->Show(1);
    PumpFor(300);
    EXPECT_EQ(closedCount, 0);
}

TEST_F(CallerFormTest, CloseFromOwnerIsIdempotentAndKeepsOwnerAlive) {
    // The owner keeps its object this time: the window still goes, the callback runs once.
    auto form = Make();
    ASSERT_TRUE(form);
    HWND hwnd = form->Handle();
    form->Close();
    form->Close();
    PumpFor(50);
    EXPECT_EQ(closedCount, 1);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(form->Closed());
    form->MarkCallCleared();  // nothing left to mark; must not fail
    form->EnableReject(true);
}

TEST_F(CallerFormTest, RejectAsksWithNameAndNumberAndOnlyYesRejects) {
    owned = Make();
    ASSERT_TRUE(owned);
    std::vector<std::int32_t> rejected;
    owned->OnReject = [&](std::int32_t plci) { rejected.push_back(plci); };
    owned->Show(0x1234);
    owned->EnableReject(true);  // the call is held

    Answer("Bestätigen", "&Nein");
    SendMessageA(Control("AbweisenB"), BM_CLICK, 0, 0);
    EXPECT_TRUE(answer.answered);
    EXPECT_TRUE(rejected.empty());

    Answer("Bestätigen", "&Ja");
    SendMessageA(Control("AbweisenB"), BM_CLICK, 0, 0);
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(answer.seenText, "Wollen Sie 'Hans Muster' ((0711) 123456) wirklich abweisen?");
    ASSERT_EQ(rejected.size(), 1u);
    EXPECT_EQ(rejected[0], 0x1234);
    EXPECT_EQ(closedCount, 0) << "the window stays open after rejecting";
    EXPECT_TRUE(IsWindow(owned->Handle()));
}

TCallerForm* g_clearedForm = nullptr;
// The call of g_clearedForm is cleared elsewhere, once.
void CALLBACK ClearCallTick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_clearedForm->EnableReject(false);
    g_clearedForm->MarkCallCleared();
}

// While the question is open the call can be cleared elsewhere or the window can time out;
// a late "&Ja" must then not answer a call that is gone, nor touch a freed window.
TEST_F(CallerFormTest, RejectQuestionOutlivedByClearingOrClose) {
    owned = Make();
    ASSERT_TRUE(owned);
    int rejected = 0;
    owned->OnReject = [&](std::int32_t) { ++rejected; };
    owned->Show(3);
    owned->EnableReject(true);  // the call is held
    g_clearedForm = owned.get();
    // The disconnect handler runs inside the question's message loop.
    SetTimer(nullptr, 0, 20, ClearCallTick);
    Answer("Bestätigen", "&Ja");
    SendMessageA(Control("AbweisenB"), BM_CLICK, 0, 0);
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(rejected, 0);

    // The auto-close timer fires while the question is open: the question goes with the
    // window, nothing is rejected, the window is closed exactly once.
    owned->EnableReject(true);
    owned->StartAutoClose(100);
    answer = {"never", "&Ja", {}, false};
    SendMessageA(Control("AbweisenB"), BM_CLICK, 0, 0);
    PumpFor(100);
    EXPECT_EQ(rejected, 0);
    EXPECT_EQ(closedCount, 1);
    EXPECT_EQ(owned, nullptr);
}

TEST_F(CallerFormTest, DatabaseButtonHandsHiddenNumberThenCloses) {
    CallerLabels labels = HansMuster();
    labels.databaseButton = true;
    owned = Make(labels);
    ASSERT_TRUE(owned);
    owned->Show(2);
    std::vector<std::string> numbers;
    int closedWhileAdding = -1;
    owned->OnDatabase = [&](const std::string& number) {
        numbers.push_back(number);
        closedWhileAdding = closedCount;
    };
    SendMessageA(Control("DatenbankB"), BM_CLICK, 0, 0);
    PumpFor(50);
    ASSERT_EQ(numbers.size(), 1u);
    EXPECT_EQ(numbers[0], "0711 123456");
    EXPECT_EQ(closedWhileAdding, 0) << "closes only after the entry dialog returned";
    EXPECT_EQ(closedCount, 1);
}

}  // namespace
}  // namespace telvor
