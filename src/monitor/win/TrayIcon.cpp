#include "monitor/win/TrayIcon.h"

#include <cstring>

#include "monitor/Tooltip.h"

namespace telvor {

void TrayIcon::Init(HWND window, HICON icon, std::string_view tip) {
    data_ = {};
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;  // 88 bytes in the 32-bit program
    data_.hWnd = window;
    data_.uID = kIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kCallbackMessage;
    data_.hIcon = icon;
    SetTip(tip);
}

void TrayIcon::SetTip(std::string_view tip) {
    const std::string cut = TrayTip(tip);
    std::memset(data_.szTip, 0, 64);
    std::memcpy(data_.szTip, cut.data(), cut.size());
}

}  // namespace telvor
