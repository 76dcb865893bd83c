#include "numbers/CountryCodes.h"

#include <gtest/gtest.h>

namespace telvor {
namespace {

TEST(CountryCodesTest, LongestCallingCodeNamesTheCountry) {
    const struct {
        std::string_view digits, iso;
    } cases[] = {
        {"49711123456", "DE"},
        {"4420123", "GB"},
        {"441624123456", "IM"},  // a longer code inside a shared one
        {"12125551234", "US"},
        {"18765551234", "JM"},  // +1: the US unless the area code decides
        {"1416555123", "US"},   // Canada is not told apart
        {"74951234567", "RU"},
        {"77271234567", "KZ"},
        {"76123", "KZ"},
        {"3906698123", "VA"},
        {"390612345", "IT"},
        {"998123", "UZ"},
        {"8001234", ""},  // a global service, no country
        {"2101234", ""},  // a spare code
        {"1", "US"},
        {"", ""},
        {"+49", ""},  // no digits to match
    };
    for (const auto& c : cases) EXPECT_EQ(IsoCountryOfNumber(c.digits), c.iso) << c.digits;
}

}  // namespace
}  // namespace telvor
