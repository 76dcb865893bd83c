#include "monitor/NetworkCall.h"

#include "ncid/CallLog.h"

namespace telvor {

NcidCall MakeNcidCall(const CallContext& call, const CallerLabels& labels) {
    const NcidDateTime when = NcidDateTimeOf(call.time.dayCount);
    NcidCall out;
    out.date = when.date;
    out.time = when.time;
    out.line = NcidLineId(labels.msn);
    if (!call.callingNumber.empty()) {
        out.number = NcidNumberFromShown(labels.number);
        out.formattedNumber = labels.number;
    }
    if (!call.notFound) out.name = call.callerName;
    if (call.townFound) out.town = call.town;
    return out;
}

}  // namespace telvor
