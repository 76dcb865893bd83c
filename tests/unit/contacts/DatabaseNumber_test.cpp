// Numbers as address books write them, in the caller database's form, and the proof that the
// call pipeline's lookup finds them for a call from that number.
#include "contacts/DatabaseNumber.h"

#include <gtest/gtest.h>

#include "ContactsTesting.h"
#include "store/CallerKeys.h"

namespace telvor::contacts {
namespace {

using telvor::testing::TestAreaCodes;

std::optional<std::string> Convert(std::string_view text, const NumberPrefixes& prefixes = {}) {
    static const AreaCodeIndex index(TestAreaCodes());
    return DatabaseNumber(text, prefixes, index);
}

TEST(DatabaseNumber, NationalFormsGetTheAreaCodeOfTheList) {
    EXPECT_EQ(Convert("+49 711 1234567"), "0711 1234567");
    EXPECT_EQ(Convert("0049 711 1234567"), "0711 1234567");
    EXPECT_EQ(Convert("+49 (0)711 1234567"), "0711 1234567");
    EXPECT_EQ(Convert("+49 0711 1234567"), "0711 1234567");
    EXPECT_EQ(Convert("(0711) 123-456"), "0711 123456");
    EXPECT_EQ(Convert("0711/123456"), "0711 123456");
    EXPECT_EQ(Convert("07111234567"), "0711 1234567");
    EXPECT_EQ(Convert("+4917112345678"), "0171 12345678");
    EXPECT_EQ(Convert("Tel.: 030 / 12 34 56"), "030 123456");
    // Not in the list: the file's own grouping says where the area code ends, if it does.
    EXPECT_EQ(Convert("06221 54321"), "06221 54321");
    EXPECT_EQ(Convert("0622154321"), "0622154321");
}

TEST(DatabaseNumber, InternationalFormsKeepTheFilesAreaCode) {
    EXPECT_EQ(Convert("+44 20 7946 0958"), "0044 20 79460958");
    EXPECT_EQ(Convert("0044 (0)20 7946 0958"), "0044 20 79460958");
    EXPECT_EQ(Convert("+1-418-656-9254"), "001 418 6569254");
    EXPECT_EQ(Convert("+1 242 555 1234"), "001242 555 1234");
    EXPECT_EQ(Convert("+442079460958"), "0044 2079460958");
    // A country the list does not know: its code is the file's first group.
    EXPECT_EQ(Convert("+33 1 23 45 67 89"), "0033 1 23456789");
    EXPECT_EQ(Convert("+33123456789"), "0033123456789");
}

TEST(DatabaseNumber, ExtensionsUriAndText) {
    // The switchboard's "-0" goes, so that every extension of the company finds the entry; a
    // direct line keeps its digits.
    EXPECT_EQ(Convert("0711 12345-0"), "0711 12345");
    EXPECT_EQ(Convert("+49 711 12345 - 0"), "0711 12345");
    EXPECT_EQ(Convert("0711 12345-67"), "0711 1234567");
    EXPECT_EQ(Convert("0711 12340"), "0711 12340");
    EXPECT_EQ(Convert("tel:+49-711-12345;ext=67"), "0711 1234567");
    EXPECT_EQ(Convert("TEL:+44%2020%207946%200958;phone-context=x"), "0044 20 79460958");
    // Letters end the number rather than dial as keypad digits.
    EXPECT_EQ(Convert("0711 123 ext. 5"), "0711 123");
    EXPECT_EQ(Convert("0711 123 (Zentrale)"), "0711 123");
    EXPECT_EQ(Convert("*31#"), "*31#");
    EXPECT_EQ(Convert("123456"), "123456");  // no prefix: kept as it is
    for (std::string_view none : {"", "unbekannt", "n/a", "+", "+49", "0", "00", "-- / --"})
        EXPECT_EQ(Convert(none), std::nullopt) << none;
    EXPECT_EQ(Convert("0711 " + std::string(80, '1'))->size(), 60u);
}

TEST(DatabaseNumber, OtherPrefixesOfTheSettings) {
    NumberPrefixes swiss;
    swiss.national = "0";
    swiss.international = "00";
    swiss.ownCountry = "41";
    EXPECT_EQ(Convert("+49 711 1234567", swiss), "0049 711 1234567");
    NumberPrefixes pbx;  // a line behind a private exchange dials 0 first
    pbx.national = "00";
    pbx.international = "000";
    EXPECT_EQ(Convert("+44 20 7946 0958", pbx), "00044 20 79460958");
    EXPECT_EQ(Convert("+49 711 1234567", pbx), "00711 1234567");
    EXPECT_EQ(Convert("0711 1234567", pbx), "07111234567");  // local to the exchange: as is
}

// The call pipeline prefixes the calling number by its type and looks it up in the caller
// database's keys; an imported number has to be found by exactly that lookup.
TEST(DatabaseNumber, TheCallPipelinesLookupFindsImportedNumbers) {
    struct Case {
        const char* written;
        unsigned char typeOctet;  // as the calling party number's first octet gives it
        const char* networkDigits;
    };
    const Case cases[] = {
        {"+49 711 1234567", 0x21, "7111234567"},
        {"(0711) 123-456", 0x21, "711123456"},
        {"+44 20 7946 0958", 0x11, "442079460958"},
        {"0711 98765-0", 0x21, "7119876512"},  // a call from extension 12
        {"tel:+1-418-656-9254;ext=102", 0x11, "14186569254102"},
    };
    std::vector<CallerRow> rows;
    for (const Case& c : cases) rows.push_back({Convert(c.written).value(), c.written, "", ""});
    const std::vector<unsigned char> file = EncodeCallers(rows);
    CallerKeys keys;
    keys.Reset(rows.size());
    keys.Add(file);
    keys.Finish();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const NormalisedNumber call = NormaliseCallingNumber(
            cases[i].typeOctet, cases[i].networkDigits, TestAreaCodes(), "0", "00");
        const std::string callingNumber = KeypadDigits(call.number);
        const CallerKeys::Hit hit = keys.Find(callingNumber);
        EXPECT_TRUE(hit.found && hit.record == i) << cases[i].written;
        EXPECT_EQ(LookupCallerIn(file, callingNumber).name, cases[i].written);
    }
}

}  // namespace
}  // namespace telvor::contacts
