// The area-code file, FindTown and the number texts built from its match.
#include <algorithm>
#include <string>

#include "Harnesses.h"
#include "LabelCheck.h"
#include "monitor/CallPipeline.h"
#include "numbers/Numbers.h"
#include "base/StringTable.h"

namespace telvor::fuzz {
namespace {
constexpr const char* kPrefixes[][2] = {{"0", "00"}, {"+", "+"}, {"", ""}, {"0 ", "+ 49 (0)"}};
}

void AreaCodes(Input data) {
    static const bool texts = (LoadStartupTexts(), true);
    (void)texts;
    if (data.size() < 2) return;
    const unsigned char type = data[0];
    const std::size_t n = std::min<std::size_t>(data[1] % 32, data.size() - 2);
    const std::string digits(reinterpret_cast<const char*>(data.data() + 2), n);
    const Input file = data.subspan(2 + n);

    AreaCodeList list;
    list.LoadFromText({reinterpret_cast<const char*>(file.data()), file.size()});
    for (const std::string& line : list.Lines()) {
        Check(!line.empty() && line.find_first_of("\r\n") == std::string::npos, "line split");
    }

    const auto& prefixes = kPrefixes[type & 3];
    const NormalisedNumber normalised =
        NormaliseCallingNumber(type, digits, list, prefixes[0], prefixes[1]);
    const TownMatch& town = normalised.town;
    if (town.found) {
        const std::string_view prefix =
            normalised.kind == NumberKind::National ? prefixes[0] : prefixes[1];
        Check(normalised.kind != NumberKind::Neither, "town without number type");
        Check(town.areaCode.compare(0, prefix.size(), prefix) == 0, "area code without prefix");
        Check(town.town != UnknownCallerText, "found the unknown town");
    } else {
        Check(town.town == UnknownCallerText && town.areaCode.empty(), "not found is unknown");
    }

    // The caller window's texts, built as the pipeline builds them.
    CallContext call;
    call.callingNumber =
        KeypadDigits(normalised.kind == NumberKind::Neither ? digits : normalised.number);
    call.calledNumber = "4711";
    call.townFound = normalised.kind != NumberKind::Neither && town.found;
    call.town = town.town;
    call.areaCode = town.areaCode;
    call.callerName = UnknownCallerText;
    CheckNumberLabels(MakeCallerLabels(call, 1), normalised, call.callingNumber);
}

}  // namespace telvor::fuzz
