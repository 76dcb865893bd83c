#pragma once
// The rule that ties the caller window's number texts to the converted number, shared by the
// harnesses that reach it.
#include <string>

#include "Harnesses.h"
#include "monitor/CallPorts.h"
#include "numbers/Numbers.h"
#include "base/StringTable.h"

namespace telvor::fuzz {

// `number`: the calling number after prefixing and keypad conversion. With a town the label is
// "(" area code ") " rest, where the area code's keypad form and the rest make up the number.
inline void CheckNumberLabels(const CallerLabels& labels, const NormalisedNumber& n,
                              const std::string& number) {
    const std::string& label = labels.number;
    if (number.empty()) {
        Check(label == UnknownCallerText, "empty number not shown as unknown");
    } else if (n.kind != NumberKind::Neither && n.town.found) {
        const std::string head = "(" + n.town.areaCode + ") ";
        Check(label.compare(0, head.size(), head) == 0, "area code not in front");
        const std::string rest = label.substr(std::min(head.size(), label.size()));
        Check(KeypadDigits(n.town.areaCode) + rest == number, "number label lost digits");
        Check(labels.hiddenNumber == n.town.areaCode + " " + rest, "hidden number differs");
    } else {
        Check(label == number && labels.hiddenNumber == number, "plain number changed");
    }
}

}  // namespace telvor::fuzz
