#pragma once
// The notification-icon record (`TrayIconData`) in its 88-byte form (the first version of
// the shell's record: window, id, flags, callback message, icon and a 64-byte tip), kept for
// the lifetime of the main window; every change of picture or tip goes into it and is passed
// to the shell from here.
#include <windows.h>

#include <shellapi.h>
#include <string_view>

namespace telvor {

class TrayIcon {
  public:
    static constexpr UINT kCallbackMessage = 0x401;
    static constexpr UINT kIconId = 1;

    // Fills the record: its size, the window, icon id 1, flags 7 (message, icon and tip
    // valid), callback message 0x401, the picture and the tip cut to 63 characters.
    void Init(HWND window, HICON icon, std::string_view tip);
    void SetPicture(HICON icon) { data_.hIcon = icon; }
    void SetTip(std::string_view tip);

    // The results of the shell are not examined by the program; they are returned for tests.
    bool Add() { return Shell_NotifyIconA(NIM_ADD, &data_) != FALSE; }
    bool Modify() { return Shell_NotifyIconA(NIM_MODIFY, &data_) != FALSE; }
    bool Delete() { return Shell_NotifyIconA(NIM_DELETE, &data_) != FALSE; }

    const NOTIFYICONDATAA& Data() const { return data_; }

  private:
    NOTIFYICONDATAA data_{};
};

}  // namespace telvor
