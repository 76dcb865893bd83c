#pragma once
// The control table of the configuration dialog: five pages, the MSN page's inner pages with
// the fourteen service boxes, and the three buttons below.
#include "ui/win/FormDef.h"

namespace telvor {

FormDef ConfigureFormDef();

// The service check boxes in MsnFlags order (display rules 0-6, record rules 7-13).
inline constexpr const char* kServiceBoxes[14] = {
    "Bekannt1CB", "Audio1CB", "Daten1CB", "Fax231CB", "Fax41CB", "Video1CB", "Sonstiges1CB",
    "Bekannt2CB", "Audio2CB", "Daten2CB", "Fax232CB", "Fax42CB", "Video2CB", "Sonstiges2CB"};

// Page indexes of `Pages`.
enum ConfigPage : int { kCallsPage, kNamesPage, kMsnPage, kDmailPage, kOtherPage, kNetworkPage };

}  // namespace telvor
