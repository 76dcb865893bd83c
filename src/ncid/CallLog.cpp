#include "ncid/CallLog.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "ncid/NcidText.h"

namespace telvor {

std::string NcidNumberFromShown(std::string_view shown) {
    std::string number;
    for (char c : shown) {
        if ((c >= '0' && c <= '9') || c == '+' || c == '*' || c == '#') {
            number += c;
        } else if (c != ' ' && c != '(' && c != ')' && c != '-' && c != '/') {
            return {};
        }
    }
    return number;
}

std::string NcidLineId(std::string_view msnText) {
    // "Name (number)": the name, which tells the lines apart for the user.
    const std::size_t open = msnText.rfind(" (");
    if (open != std::string_view::npos && open > 0 && msnText.back() == ')')
        return std::string(msnText.substr(0, open));
    return std::string(msnText);
}

NcidCall NcidCallFromRecord(const CallRecord& record) {
    NcidCall call;
    const NcidDateTime when = NcidDateTimeOf(record.time);
    call.date = when.date;
    call.time = when.time;
    call.line = NcidLineId(record.called);
    if (record.notInDatabase) {
        call.number = NcidNumberFromShown(record.name);  // empty: NO-NUMBER
    } else {
        call.name = record.name;
        call.number = std::string(kNcidDash);
    }
    return call;
}

std::vector<NcidCall> NcidCallLog(const std::vector<CallRecord>& records, std::size_t maxCalls) {
    std::vector<std::size_t> order(records.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // A time that is no number sorts first (and reads as the zero instant), so the order
    // stays a strict one whatever the file holds.
    auto key = [&](std::size_t i) {
        const double t = records[i].time;
        return std::isfinite(t) ? t : -1.0;
    };
    // Stable: calls of the same minute keep the order in which they were written.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    const std::size_t first = order.size() > maxCalls ? order.size() - maxCalls : 0;
    std::vector<NcidCall> calls;
    calls.reserve(order.size() - first);
    for (std::size_t i = first; i < order.size(); ++i)
        calls.push_back(NcidCallFromRecord(records[order[i]]));
    return calls;
}

}  // namespace telvor
