#pragma once
// The whole text of a window (WM_GETTEXT), never cut short.
#include <windows.h>

#include <cstddef>
#include <string>

namespace telvor {

inline std::string WindowText(HWND hwnd) {
    const int len = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(len) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), len + 1)));
    return text;
}

}  // namespace telvor
