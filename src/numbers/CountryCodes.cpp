#include "numbers/CountryCodes.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace telvor {
namespace {

struct CountryCode {
    std::string_view code;  // the E.164 country calling code, longer where a code is shared
    std::string_view iso;   // ISO 3166-1 alpha-2
};

// The country calling codes of ITU-T E.164, in digit order. A code several countries share
// goes to its main country; a longer line names a country that has its own prefix inside
// it. Left out: the codes of global services (800, 808, 870, 878, 881-883, 888, 979, 991),
// which belong to no country, and spare codes.
// clang-format off
constexpr std::array kCountryCodes = std::to_array<CountryCode>({
    {"1", "US"},        // the North American plan; Canada's area codes are not told apart
    {"1242", "BS"},
    {"1246", "BB"},
    {"1264", "AI"},
    {"1268", "AG"},
    {"1284", "VG"},
    {"1340", "VI"},
    {"1345", "KY"},
    {"1441", "BM"},
    {"1473", "GD"},
    {"1649", "TC"},
    {"1658", "JM"},
    {"1664", "MS"},
    {"1670", "MP"},
    {"1671", "GU"},
    {"1684", "AS"},
    {"1721", "SX"},
    {"1758", "LC"},
    {"1767", "DM"},
    {"1784", "VC"},
    {"1787", "PR"},
    {"1809", "DO"},
    {"1829", "DO"},
    {"1849", "DO"},
    {"1868", "TT"},
    {"1869", "KN"},
    {"1876", "JM"},
    {"1939", "PR"},
    {"20", "EG"},
    {"211", "SS"},
    {"212", "MA"},
    {"213", "DZ"},
    {"216", "TN"},
    {"218", "LY"},
    {"220", "GM"},
    {"221", "SN"},
    {"222", "MR"},
    {"223", "ML"},
    {"224", "GN"},
    {"225", "CI"},
    {"226", "BF"},
    {"227", "NE"},
    {"228", "TG"},
    {"229", "BJ"},
    {"230", "MU"},
    {"231", "LR"},
    {"232", "SL"},
    {"233", "GH"},
    {"234", "NG"},
    {"235", "TD"},
    {"236", "CF"},
    {"237", "CM"},
    {"238", "CV"},
    {"239", "ST"},
    {"240", "GQ"},
    {"241", "GA"},
    {"242", "CG"},
    {"243", "CD"},
    {"244", "AO"},
    {"245", "GW"},
    {"246", "IO"},
    {"247", "SH"},      // Ascension, part of SH in ISO 3166-1
    {"248", "SC"},
    {"249", "SD"},
    {"250", "RW"},
    {"251", "ET"},
    {"252", "SO"},
    {"253", "DJ"},
    {"254", "KE"},
    {"255", "TZ"},
    {"256", "UG"},
    {"257", "BI"},
    {"258", "MZ"},
    {"260", "ZM"},
    {"261", "MG"},
    {"262", "RE"},
    {"262269", "YT"},   // Mayotte's fixed lines ...
    {"262639", "YT"},   // ... and mobiles
    {"263", "ZW"},
    {"264", "NA"},
    {"265", "MW"},
    {"266", "LS"},
    {"267", "BW"},
    {"268", "SZ"},
    {"269", "KM"},
    {"27", "ZA"},
    {"290", "SH"},      // Tristan da Cunha (2908) too
    {"291", "ER"},
    {"297", "AW"},
    {"298", "FO"},
    {"299", "GL"},
    {"30", "GR"},
    {"31", "NL"},
    {"32", "BE"},
    {"33", "FR"},
    {"34", "ES"},
    {"350", "GI"},
    {"351", "PT"},
    {"352", "LU"},
    {"353", "IE"},
    {"354", "IS"},
    {"355", "AL"},
    {"356", "MT"},
    {"357", "CY"},
    {"358", "FI"},
    {"35818", "AX"},
    {"359", "BG"},
    {"36", "HU"},
    {"370", "LT"},
    {"371", "LV"},
    {"372", "EE"},
    {"373", "MD"},
    {"374", "AM"},
    {"375", "BY"},
    {"376", "AD"},
    {"377", "MC"},
    {"378", "SM"},
    {"379", "VA"},
    {"380", "UA"},
    {"381", "RS"},
    {"382", "ME"},
    {"383", "XK"},      // Kosovo: not in ISO 3166-1; the code in common use
    {"385", "HR"},
    {"386", "SI"},
    {"387", "BA"},
    {"389", "MK"},
    {"39", "IT"},
    {"3906698", "VA"},  // the Vatican's numbers inside Rome's
    {"40", "RO"},
    {"41", "CH"},
    {"420", "CZ"},
    {"421", "SK"},
    {"423", "LI"},
    {"43", "AT"},
    {"44", "GB"},       // the Channel Islands' and Man's mobiles too
    {"441481", "GG"},   // fixed lines of Guernsey, Jersey and Man
    {"441534", "JE"},
    {"441624", "IM"},
    {"45", "DK"},
    {"46", "SE"},
    {"47", "NO"},
    {"4779", "SJ"},
    {"48", "PL"},
    {"49", "DE"},
    {"500", "FK"},
    {"501", "BZ"},
    {"502", "GT"},
    {"503", "SV"},
    {"504", "HN"},
    {"505", "NI"},
    {"506", "CR"},
    {"507", "PA"},
    {"508", "PM"},
    {"509", "HT"},
    {"51", "PE"},
    {"52", "MX"},
    {"53", "CU"},
    {"54", "AR"},
    {"55", "BR"},
    {"56", "CL"},
    {"57", "CO"},
    {"58", "VE"},
    {"590", "GP"},      // Saint-Barthélemy and Saint-Martin too
    {"591", "BO"},
    {"592", "GY"},
    {"593", "EC"},
    {"594", "GF"},
    {"595", "PY"},
    {"596", "MQ"},
    {"597", "SR"},
    {"598", "UY"},
    {"599", "CW"},
    {"5993", "BQ"},     // Sint Eustatius, Saba, Bonaire
    {"5994", "BQ"},
    {"5997", "BQ"},
    {"60", "MY"},
    {"61", "AU"},       // Christmas and Cocos Islands too
    {"62", "ID"},
    {"63", "PH"},
    {"64", "NZ"},       // Pitcairn too
    {"65", "SG"},
    {"66", "TH"},
    {"670", "TL"},
    {"672", "NF"},      // Australia's Antarctic bases too
    {"673", "BN"},
    {"674", "NR"},
    {"675", "PG"},
    {"676", "TO"},
    {"677", "SB"},
    {"678", "VU"},
    {"679", "FJ"},
    {"680", "PW"},
    {"681", "WF"},
    {"682", "CK"},
    {"683", "NU"},
    {"685", "WS"},
    {"686", "KI"},
    {"687", "NC"},
    {"688", "TV"},
    {"689", "PF"},
    {"690", "TK"},
    {"691", "FM"},
    {"692", "MH"},
    {"7", "RU"},        // shared with Kazakhstan, which has 6 and 7 after it
    {"76", "KZ"},
    {"77", "KZ"},
    {"81", "JP"},
    {"82", "KR"},
    {"84", "VN"},
    {"850", "KP"},
    {"852", "HK"},
    {"853", "MO"},
    {"855", "KH"},
    {"856", "LA"},
    {"86", "CN"},
    {"880", "BD"},
    {"886", "TW"},
    {"90", "TR"},
    {"91", "IN"},
    {"92", "PK"},
    {"93", "AF"},
    {"94", "LK"},
    {"95", "MM"},
    {"960", "MV"},
    {"961", "LB"},
    {"962", "JO"},
    {"963", "SY"},
    {"964", "IQ"},
    {"965", "KW"},
    {"966", "SA"},
    {"967", "YE"},
    {"968", "OM"},
    {"970", "PS"},
    {"971", "AE"},
    {"972", "IL"},
    {"973", "BH"},
    {"974", "QA"},
    {"975", "BT"},
    {"976", "MN"},
    {"977", "NP"},
    {"98", "IR"},
    {"992", "TJ"},
    {"993", "TM"},
    {"994", "AZ"},
    {"995", "GE"},
    {"996", "KG"},
    {"998", "UZ"},
});
// clang-format on

// The lookup searches by halves, so a line out of order or twice would hide others; a
// mistyped line fails the build instead.
constexpr bool WellFormed() {
    for (std::size_t i = 0; i < kCountryCodes.size(); ++i) {
        const CountryCode& row = kCountryCodes[i];
        if (row.code.empty() || row.iso.size() != 2) return false;
        for (char c : row.code)
            if (c < '0' || c > '9') return false;
        for (char c : row.iso)
            if (c < 'A' || c > 'Z') return false;
        if (i > 0 && !(kCountryCodes[i - 1].code < row.code)) return false;
    }
    return true;
}
static_assert(WellFormed(), "country codes: digits, two capitals, in digit order, once each");

constexpr std::size_t LongestCode() {
    std::size_t longest = 0;
    for (const CountryCode& row : kCountryCodes) longest = std::max(longest, row.code.size());
    return longest;
}

}  // namespace

std::string_view IsoCountryOfNumber(std::string_view digitsAfterInternationalPrefix) {
    const std::string_view digits = digitsAfterInternationalPrefix;
    for (std::size_t length = std::min(digits.size(), LongestCode()); length > 0; --length) {
        const std::string_view head = digits.substr(0, length);
        const auto it = std::lower_bound(
            kCountryCodes.begin(), kCountryCodes.end(), head,
            [](const CountryCode& row, std::string_view code) { return row.code < code; });
        if (it != kCountryCodes.end() && it->code == head) return it->iso;
    }
    return {};
}

}  // namespace telvor
