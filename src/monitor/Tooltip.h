#pragma once
// The text of the last call, shown as the notification icon's tip and kept as "LastCall".
#include <cstddef>
#include <string>
#include <string_view>

namespace telvor {

// The icon record's tip field holds 64 bytes: 63 characters and the terminator.
inline constexpr std::size_t kTrayTipLength = 63;

struct TooltipFields {
    std::string_view callerName;   // database name or UnknownCallerText
    std::string_view numberLabel;  // the number as shown in the caller window
    std::string_view msnName;      // may be empty
    std::string_view msnLabel;     // the MSN as shown in the caller window
    std::string_view timeText;     // hours and minutes
};

// "Telvor - " + (the number when the caller is unknown, else the name) + string 20008 filled
// with (MSN name, or the MSN label when the entry has none) and the time. Full length.
std::string CallTooltip(const TooltipFields& fields);

// The first kTrayTipLength characters.
std::string TrayTip(std::string_view tooltip);

}  // namespace telvor
