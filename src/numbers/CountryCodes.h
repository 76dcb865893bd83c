#pragma once
// The country a calling number comes from, by its country calling code.
#include <string_view>

namespace telvor {

// The ISO 3166-1 alpha-2 code (upper case) of the country whose calling code begins the
// digits, the longest code that matches deciding: "1876…" is Jamaica, "1212…" the United
// States. Empty for digits no country's code begins (global services such as +800, +881,
// codes not assigned, text that is no number).
std::string_view IsoCountryOfNumber(std::string_view digitsAfterInternationalPrefix);

}  // namespace telvor
