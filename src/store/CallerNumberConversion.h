#pragma once
// Earlier versions stored caller numbers as plain digits. At the configuration dialog's first
// showing after an upgrade every number it loads from the caller database is converted once,
// so that a blank separates the area code from the subscriber number:
//   national prefix "0",       0711123456    -> "0711 123456"    (area-code line N711)
//   international prefix "00", 0049711123456 -> "0049 711123456" (area-code line I49)
//
// Use in the dialog's FormShow, before loading the caller database:
//   auto conversion = BeginCallerNumberConversion(store, areaCodes);
//   ... for each loaded record: if (conversion) number = conversion->Convert(number);
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numbers/Numbers.h"
#include "store/SettingsStore.h"

namespace telvor {

class CallerNumberConversion {
  public:
    // The codes of the area-code lines are taken once, so converting a whole database costs
    // one pass over the codes per number at most.
    CallerNumberConversion(const AreaCodeList& areaCodes, std::string nationalPrefix,
                           std::string internationalPrefix);

    // A number of digits, '*' and '#' only is converted when it begins with a prefix and an
    // area code of the list; any other number (one with a blank, say) comes back unchanged.
    std::string Convert(std::string_view number) const;

  private:
    std::vector<std::string> codes_;  // upper-cased, in file order; lines without code dropped
    std::string national_;
    std::string international_;
};

// True when a stored "Version" sorts before "2.00" in plain character order.
bool IsEarlierVersion(std::string_view version);

// Reads "Version" (default "0.00"). For data of an earlier version it writes "2.00" at once,
// so the conversion is offered only this once, reads "NationalCalls" (default "0") and
// "InternationalCalls" (default "00") and returns the conversion; otherwise nothing.
std::optional<CallerNumberConversion> BeginCallerNumberConversion(SettingsStore& store,
                                                                  const AreaCodeList& areaCodes);

}  // namespace telvor
