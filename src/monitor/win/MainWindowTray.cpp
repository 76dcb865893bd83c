// The main window's notification icon, its menu `PopupMenu1` and the control messages that
// act like the menu (second start, activator).
#include <stdexcept>

#include "base/StringTable.h"
#include "monitor/win/Actions.h"
#include "monitor/win/MainWindow.h"
#include "monitor/win/ProgramFlags.h"
#include "ui/win/AboutBox.h"
#include "ui/win/ConfigDialog.h"
#include "ui/win/LocalizeForm.h"

namespace telvor {

void TTelvorMainForm::CreateTrayMenu() {
    struct Item {
        UINT id;
        const char* caption;
    };
    // Captions are string-table IDs; LocalizeMenu turns them into text and "-" into lines.
    const Item items[] = {
        {ShowConfigCommand, "10309"},     {0, "10302"}, {BringCallersToFrontCommand, "10301"},
        {SuspendDisplayCommand, "10307"}, {0, "10302"}, {ShowProtocolCommand, "10303"},
        {AboutCommand, "10304"},          {0, "10305"}, {QuitCommand, "10306"}};
    trayMenu_.reset(CreatePopupMenu());
    UINT separatorId = 200;
    for (const Item& item : items)
        AppendMenuA(trayMenu_.get(), MF_STRING, item.id ? item.id : separatorId++, item.caption);
    const LocalizeResult result = LocalizeMenu(trayMenu_.get());
    if (!result.ok) throw std::runtime_error(result.error);
    SetMenuDefaultItem(trayMenu_.get(), ShowConfigCommand, FALSE);
    EnableMenuItem(trayMenu_.get(), BringCallersToFrontCommand, MF_GRAYED);
}

void TTelvorMainForm::OnTrayIcon(LPARAM mouseMessage) {
    if (Program().DialogBusy) return;
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        ShowConfigureForm();
    } else if (mouseMessage == WM_RBUTTONUP) {
        POINT cursor{};
        GetCursorPos(&cursor);
        SetForegroundWindow(hwnd_);
        TrackPopupMenu(trayMenu_.get(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd_, nullptr);
        // Lets the menu close when the user clicks elsewhere.
        PostMessageA(hwnd_, WM_NULL, 0, 0);
    }
}

void TTelvorMainForm::OnShowConfig() {
    if (!Program().DialogBusy && Program().NoIcon) ShowConfigureForm();
}

void TTelvorMainForm::OnSetDisplay(WPARAM state) {
    const bool suspended = Program().CallsSuspended;
    if ((state == 0 && !suspended) || (state == 1 && suspended)) SuspendDisplayClick();
}

void TTelvorMainForm::SuspendDisplayClick() {
    const bool suspended = Program().CallsSuspended;
    const std::string caption = LoadStr(suspended ? 10307 : 10308);
    ModifyMenuA(trayMenu_.get(), SuspendDisplayCommand, MF_BYCOMMAND | MF_STRING,
                SuspendDisplayCommand, caption.c_str());
    tray_.SetPicture(Picture(suspended ? TrayPicture::Normal : TrayPicture::DisplayOff));
    if (!Program().NoIcon) tray_.Modify();
    Program().CallsSuspended = !suspended;
}

void TTelvorMainForm::OnMenuCommand(UINT command) {
    switch (command) {
        case ShowConfigCommand:
            ShowConfigureForm();
            break;
        case BringCallersToFrontCommand:
            BringCallerWindowsToFront();
            break;
        case SuspendDisplayCommand:
            SuspendDisplayClick();
            break;
        case ShowProtocolCommand:
            ShowProtocol(settings_.logFile, hwnd_);
            break;
        case AboutCommand:
            ShowAboutBox();
            break;
        case QuitCommand:
            CloseRequested();
            break;
        default:
            break;
    }
}

void TTelvorMainForm::ShowConfigureForm() {
    if (configure_) configure_->ShowNonModal();
}

void TTelvorMainForm::BringCallerWindowsToFront() {
    for (const CallerWindows::Entry& entry : handlers_->Windows().Entries()) {
        const HWND window = reinterpret_cast<HWND>(entry.window);
        ShowWindow(window, SW_SHOW);
        BringWindowToTop(window);
    }
}

void TTelvorMainForm::ShowAboutBox() {
    if (!about_) return;
    DialogBusyScope busy;
    about_->ShowModal();
}

void TTelvorMainForm::SetTrayTip(std::string_view tip) {
    callTip_ = std::string(tip);
    ShowTrayTip();
}

HICON TTelvorMainForm::Picture(TrayPicture picture) const {
    const UniqueIcon* icon = &icons_[0];
    switch (picture) {
        case TrayPicture::DisplayOff:
            icon = &icons_[1];
            break;
        case TrayPicture::CallerWindow:
            icon = &icons_[2];
            break;
        case TrayPicture::Normal:
            break;
    }
    // A picture missing from the resources shows the system's application icon.
    return *icon ? icon->get() : LoadIconA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */);
}

void TTelvorMainForm::SetTrayPicture(TrayPicture picture) {
    tray_.SetPicture(Picture(picture));
}

void TTelvorMainForm::NotifyTray() {
    if (!Program().NoIcon) tray_.Modify();
}

void TTelvorMainForm::EnableBringToFront(bool enabled) {
    EnableMenuItem(trayMenu_.get(), BringCallersToFrontCommand, enabled ? MF_ENABLED : MF_GRAYED);
}

}  // namespace telvor
