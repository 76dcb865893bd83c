#include "monitor/NetworkCall.h"

#include "ncid/CallLog.h"
#include "numbers/CountryCodes.h"
#include "numbers/Numbers.h"

namespace telvor {
namespace {

std::string_view CountryOfCall(const CallContext& call, std::string_view internationalPrefix) {
    switch (NumberKindOf(call.typeOctet)) {
        case NumberKind::National:
            return IsoCountryOfNumber(kOwnCountryCode);
        case NumberKind::International: {
            // The pipeline wrote the prefix before the digits; a number without it names no
            // country code.
            const std::string_view number = call.callingNumber;
            if (!number.starts_with(internationalPrefix)) return {};
            return IsoCountryOfNumber(number.substr(internationalPrefix.size()));
        }
        case NumberKind::Neither:
            break;
    }
    return {};
}

}  // namespace

NcidCall MakeNcidCall(const CallContext& call, const CallerLabels& labels,
                      std::string_view internationalPrefix) {
    const NcidDateTime when = NcidDateTimeOf(call.time.dayCount);
    NcidCall out;
    out.date = when.date;
    out.time = when.time;
    out.line = NcidLineId(labels.msn);
    if (!call.callingNumber.empty()) {
        out.number = NcidNumberFromShown(labels.number);
        out.formattedNumber = labels.number;
        out.country = CountryOfCall(call, internationalPrefix);
    }
    if (!call.notFound) out.name = call.callerName;
    if (call.townFound) out.town = call.town;
    return out;
}

}  // namespace telvor
