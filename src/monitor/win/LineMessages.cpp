#include "monitor/win/LineMessages.h"

#include "base/StringTable.h"
#include "ui/win/MessageDialogs.h"

namespace telvor {

namespace {
constexpr unsigned kControllerMissingText = 20027;
}

CapiLoadFailure ProgramCapiLoadFailure() {
    return {[](const std::string& text) { ShowMessageDialog(MessageKind::Error, text); },
            [](UINT exitCode) { ExitProcess(exitCode); }};
}

void ReportControllerMissing(HWND owner) {
    ShowMessageDialog(MessageKind::Error, LoadStr(kControllerMissingText), owner);
    PostQuitMessage(0);
}

}  // namespace telvor
