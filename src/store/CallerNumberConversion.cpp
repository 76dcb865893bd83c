#include "store/CallerNumberConversion.h"

#include <cctype>
#include <utility>

#include "base/Version.h"
#include "store/AppSettings.h"

namespace telvor {
namespace {

constexpr std::size_t kMaxKey = 61;
constexpr std::size_t kMaxNumber = 60;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

CallerNumberConversion::CallerNumberConversion(const AreaCodeList& areaCodes,
                                               std::string nationalPrefix,
                                               std::string internationalPrefix)
    : national_(std::move(nationalPrefix)), international_(std::move(internationalPrefix)) {
    codes_.reserve(areaCodes.Lines().size());
    for (const std::string& line : areaCodes.Lines()) {
        const std::size_t tab = line.find('\t');
        // A line without a tab has no code; an empty code would begin every key and turn
        // every number into a bare prefix, so it counts as none too.
        if (tab == std::string::npos || tab == 0) continue;
        std::string code = line.substr(0, tab);
        for (char& c : code) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        codes_.push_back(std::move(code));
    }
}

std::string CallerNumberConversion::Convert(std::string_view number) const {
    if (KeypadDigits(number) != number) return std::string(number);
    std::string key;
    std::string_view prefix;
    if (international_.empty() || StartsWith(number, international_)) {
        prefix = international_;
        key = "I";
    } else if (national_.empty() || StartsWith(number, national_)) {
        prefix = national_;
        key = "N";
    } else {
        return std::string(number);
    }
    key.append(number.substr(prefix.size()));
    if (key.size() > kMaxKey) key.resize(kMaxKey);
    for (const std::string& code : codes_) {
        if (!StartsWith(key, code)) continue;
        std::string converted(prefix);
        converted.append(code, 1);
        converted.push_back(' ');
        converted.append(key, code.size());
        if (converted.size() > kMaxNumber) converted.resize(kMaxNumber);
        return converted;
    }
    return std::string(number);
}

bool IsEarlierVersion(std::string_view version) {
    return version < std::string_view("2.00");
}

std::optional<CallerNumberConversion> BeginCallerNumberConversion(SettingsStore& store,
                                                                  const AreaCodeList& areaCodes) {
    if (!IsEarlierVersion(store.ReadString(kSettingsSection, "Version", "0.00")))
        return std::nullopt;
    store.WriteString(kSettingsSection, "Version", TELVOR_VERSION_TEXT);
    return CallerNumberConversion(areaCodes,
                                  store.ReadString(kSettingsSection, "NationalCalls", "0"),
                                  store.ReadString(kSettingsSection, "InternationalCalls", "00"));
}

}  // namespace telvor
