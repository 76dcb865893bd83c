#include "monitor/Tooltip.h"

#include "base/StringTable.h"

namespace telvor {

std::string CallTooltip(const TooltipFields& f) {
    std::string text = "Telvor - ";
    text += f.callerName == UnknownCallerText ? f.numberLabel : f.callerName;
    text += FormatStr(20008, {f.msnName.empty() ? f.msnLabel : f.msnName, f.timeText});
    return text;
}

std::string TrayTip(std::string_view tooltip) {
    return std::string(tooltip.substr(0, kTrayTipLength));
}

}  // namespace telvor
