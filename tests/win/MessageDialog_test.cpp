// The program's message dialogs, read and answered from a second thread the way a user or a
// screen reader would: plain WM_GETTEXT and keyboard or button input, every wait bounded.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/WinTestSupport.h"
#include "ui/win/Form.h"
#include "ui/win/MessageDialogs.h"

namespace telvor {
namespace {

struct Seen {
    bool found = false;
    std::string windowClass;
    std::string title;
    std::vector<std::string> labels;   // STATIC texts
    std::vector<std::string> buttons;  // BUTTON texts in sibling order
    bool ownerEnabled = true;
    bool stillOpenAfterAnswer = false;
};

using test::ButtonWithText;
using test::WindowClass;
using test::WindowText;

// Runs `answer` against the dialog that the calling thread is about to show, from a second
// thread; gives up (closing whatever is open) after a few seconds so no case can hang.
class Probe {
  public:
    Probe(std::function<void(HWND dialog)> answer, HWND owner = nullptr)
        : thread_([this, answer, owner, ui = GetCurrentThreadId()] {
              const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
              HWND dialog = nullptr;
              while (!(dialog = test::FindVisibleDialog(ui)) &&
                     std::chrono::steady_clock::now() < deadline)
                  Sleep(20);
              if (!dialog) return;
              seen_.found = true;
              seen_.windowClass = WindowClass(dialog);
              seen_.title = WindowText(dialog);
              for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                  if (WindowClass(c) == "Static" && !WindowText(c).empty())
                      seen_.labels.push_back(WindowText(c));
                  if (WindowClass(c) == "Button") seen_.buttons.push_back(WindowText(c));
              }
              if (owner) seen_.ownerEnabled = IsWindowEnabled(owner) != FALSE;
              answer(dialog);
              const auto closeBy = std::chrono::steady_clock::now() + std::chrono::seconds(5);
              while (IsWindow(dialog) && IsWindowVisible(dialog) &&
                     std::chrono::steady_clock::now() < closeBy)
                  Sleep(20);
              if (IsWindow(dialog) && IsWindowVisible(dialog)) {
                  seen_.stillOpenAfterAnswer = true;
                  PostMessageA(dialog, WM_CLOSE, 0, 0);
              }
          }) {}
    const Seen& Join() {
        thread_.join();
        return seen_;
    }

  private:
    Seen seen_;
    std::thread thread_;
};

void PressKey(HWND dialog, WORD key) {
    // Keyboard input goes to the focused control; the dialog's first button holds the focus.
    HWND target = GetWindow(dialog, GW_CHILD);
    for (HWND c = target; c; c = GetWindow(c, GW_HWNDNEXT))
        if (WindowClass(c) == "Button") {
            target = c;
            break;
        }
    test::PressKeyIn(target, key);
}

TEST(MessageDialog, ErrorShowsTitleTextAndOkAndEnterAnswers) {
    Probe probe([](HWND d) { PressKey(d, VK_RETURN); });
    EXPECT_FALSE(ShowMessageDialog(MessageKind::Error, "Die Protokolldatei & mehr"));
    const Seen& seen = probe.Join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.windowClass, "#32770");
    EXPECT_EQ(seen.title, "Fehler");
    EXPECT_EQ(seen.labels, std::vector<std::string>{"Die Protokolldatei & mehr"});
    EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(seen.stillOpenAfterAnswer);
}

TEST(MessageDialog, WarningAndInformationTitlesAndEscCloses) {
    Probe warning([](HWND d) { PressKey(d, VK_ESCAPE); });
    EXPECT_FALSE(ShowMessageDialog(MessageKind::Warning, "Bitte schließen Sie das Fenster."));
    const Seen& w = warning.Join();
    EXPECT_EQ(w.title, "Warnung");
    EXPECT_EQ(w.buttons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(w.stillOpenAfterAnswer);

    Probe info([](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); });
    EXPECT_FALSE(ShowMessageDialog(MessageKind::Information, "Mit F1 erhalten Sie Hilfe."));
    const Seen& i = info.Join();
    EXPECT_EQ(i.title, "Information");
    EXPECT_FALSE(i.stillOpenAfterAnswer);
}

TEST(MessageDialog, ConfirmationEnterAnswersJa) {
    Probe probe([](HWND d) { PressKey(d, VK_RETURN); });
    EXPECT_TRUE(Confirm("Wollen Sie wirklich alle Anrufe löschen?"));
    const Seen& seen = probe.Join();
    EXPECT_EQ(seen.title, "Bestätigen");
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"&Ja", "&Nein"}));
    EXPECT_EQ(seen.labels, std::vector<std::string>{"Wollen Sie wirklich alle Anrufe löschen?"});
    EXPECT_FALSE(seen.stillOpenAfterAnswer);
}

TEST(MessageDialog, ConfirmationEscAndCloseBoxAnswerNein) {
    Probe esc([](HWND d) { PressKey(d, VK_ESCAPE); });
    EXPECT_FALSE(Confirm("Soll die Protokolldatei wirklich gelöscht werden?"));
    EXPECT_FALSE(esc.Join().stillOpenAfterAnswer);

    Probe close([](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); });
    EXPECT_FALSE(Confirm("Soll die Protokolldatei wirklich gelöscht werden?"));
    EXPECT_FALSE(close.Join().stillOpenAfterAnswer);
}

TEST(MessageDialog, ConfirmationButtonsAnswerByClick) {
    Probe no([](HWND d) { PostMessageA(ButtonWithText(d, "&Nein"), BM_CLICK, 0, 0); });
    EXPECT_FALSE(Confirm("Wollen Sie 'Meier' (030 123) wirklich abweisen?"));
    EXPECT_FALSE(no.Join().stillOpenAfterAnswer);

    Probe yes([](HWND d) { PostMessageA(ButtonWithText(d, "&Ja"), BM_CLICK, 0, 0); });
    EXPECT_TRUE(Confirm("Wollen Sie 'Meier' (030 123) wirklich abweisen?"));
    EXPECT_FALSE(yes.Join().stillOpenAfterAnswer);
}

TEST(MessageDialog, OwnerIsDisabledWhileShownAndEnabledAfter) {
    // Not a dialog, so that the probe finds the message dialog only.
    FormResult owner = Form::Create(wintest::BlankForm("Owner", "3001", 200, 100, false));
    ASSERT_TRUE(owner.form) << owner.error;
    owner.form->Show();
    Probe probe([](HWND d) { PressKey(d, VK_RETURN); }, owner.form->Handle());
    EXPECT_FALSE(ShowMessageDialog(MessageKind::Error, "x", owner.form->Handle()));
    const Seen& seen = probe.Join();
    ASSERT_TRUE(seen.found);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_FALSE(seen.stillOpenAfterAnswer);
    EXPECT_TRUE(IsWindowEnabled(owner.form->Handle()));
}

TEST(MessageDialog, LongTextIsShownWhole) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "Sie benötigen eine ISDN-Karte mit CAPI 2.0. ";
    Probe probe([](HWND d) { PressKey(d, VK_RETURN); });
    ShowMessageDialog(MessageKind::Error, text);
    const Seen& seen = probe.Join();
    ASSERT_EQ(seen.labels.size(), 1u);
    EXPECT_EQ(seen.labels[0], text);
    EXPECT_FALSE(seen.stillOpenAfterAnswer);
}

}  // namespace
}  // namespace telvor
