// The about box: a borderless window exactly the picture's size; any key or click closes it,
// and its openers are disabled while it is shown.
#include "ui/win/AboutBox.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "support/WinTestSupport.h"

namespace telvor {
namespace {

HWND g_box = nullptr;
UINT g_message = 0;
WPARAM g_key = 0;

void CALLBACK PostCloser(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageA(g_box, g_message, g_key, 0);
}

void CALLBACK PostClose(HWND, UINT, UINT_PTR, DWORD) {
    PostMessageA(g_box, WM_CLOSE, 0, 0);
}

void CloseWith(UINT message, WPARAM key) {
    g_message = message;
    g_key = key;
    SetTimer(nullptr, 0, 30, PostCloser);
}

TEST(AboutBox, AnyKeyOrClickClosesItAndItsOpenersWaitMeanwhile) {
    std::string error;
    auto box = TAboutBox::Create(nullptr, error);
    ASSERT_TRUE(box) << error;
    g_box = box->Handle();
    EXPECT_FALSE(GetWindowLongPtrA(g_box, GWL_STYLE) & (WS_BORDER | WS_CAPTION | WS_THICKFRAME));
    RECT client = {};
    GetClientRect(g_box, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);

    std::vector<bool> enabled;
    box->OnAboutCommandsEnabled = [&](bool on) { enabled.push_back(on); };
    const struct {
        UINT message;
        WPARAM key;
    } closers[] = {{WM_KEYDOWN, VK_SHIFT},  {WM_KEYDOWN, VK_ESCAPE},  {WM_KEYDOWN, VK_TAB},
                   {WM_KEYDOWN, VK_RETURN}, {WM_SYSKEYDOWN, VK_MENU}, {WM_LBUTTONDOWN, 0}};
    for (const auto& closer : closers) {
        CloseWith(closer.message, closer.key);
        // Should the key not close it, the close box does, late enough to be seen.
        const UINT_PTR fallback = SetTimer(nullptr, 0, 2500, PostClose);
        const DWORD start = GetTickCount();
        box->ShowModal();  // returns only when closed
        KillTimer(nullptr, fallback);
        EXPECT_LT(GetTickCount() - start, 3000u) << closer.message << " " << closer.key;
        EXPECT_FALSE(IsWindowVisible(g_box));
    }
    EXPECT_EQ(enabled.size(), 2 * std::size(closers));
    for (std::size_t i = 0; i < enabled.size(); ++i) EXPECT_EQ(enabled[i], i % 2 == 1);
}

}  // namespace
}  // namespace telvor
