// The shipped area-code file (data/AreaCode.txt), read as the monitor reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "numbers/Numbers.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

const std::string kShippedFile = std::string(TELVOR_DATA_DIR) + "/AreaCode.txt";

// Loaded once for all cases: the file is large and never changed by them.
const AreaCodeList& Shipped() {
    static const AreaCodeList list = [] {
        AreaCodeList loaded;
        loaded.LoadFromFile(kShippedFile);
        return loaded;
    }();
    return list;
}

class AreaCodeDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadStartupTexts();
        ASSERT_FALSE(Shipped().Empty()) << "cannot read " << kShippedFile;
    }

    static TownMatch National(std::string_view digits) {
        return Shipped().FindTown('N', digits, "0");
    }
    static TownMatch International(std::string_view digits) {
        return Shipped().FindTown('I', digits, "00");
    }
};

void ExpectTown(const TownMatch& match, std::string_view town, std::string_view areaCode) {
    EXPECT_TRUE(match.found) << town;
    EXPECT_EQ(match.town, town);
    EXPECT_EQ(match.areaCode, areaCode);
}

TEST_F(AreaCodeDataTest, GermanTownsByAreaCode) {
    ExpectTown(National("711123456"), "Stuttgart", "0711");
    ExpectTown(National("3098765"), "Berlin", "030");
    ExpectTown(National("3375123456"), "Königs Wusterhausen", "03375");
    ExpectTown(National("894455"), "München", "089");
    ExpectTown(National("221777"), "Köln", "0221");
    // 02129 lies inside 0212: the longer code is listed first.
    ExpectTown(National("2129123"), "Haan Rheinland", "02129");
    ExpectTown(National("212123"), "Solingen", "0212");
}

TEST_F(AreaCodeDataTest, GermanMobileAndServicePrefixesNameTheirKind) {
    ExpectTown(National("1711234567"), "Mobilfunk", "0171");
    ExpectTown(National("15112345678"), "Mobilfunk", "0151");
    ExpectTown(National("8001234567"), "Service-Nummer (kostenfrei)", "0800");
    ExpectTown(National("1805123456"), "Service-Nummer", "01805");
    ExpectTown(National("9001123456"), "Service-Nummer (Premium)", "0900");
    // Old paging networks cannot call: no name for them.
    EXPECT_FALSE(National("1681234").found);
    EXPECT_FALSE(National("").found);
}

TEST_F(AreaCodeDataTest, CountriesByCallingCode) {
    ExpectTown(International("4420712345"), "Vereinigtes Königreich", "0044");
    ExpectTown(International("43112345"), "Österreich", "0043");
    // +1 242 is the Bahamas and +1 416 Canada, though +1 alone is the United States.
    ExpectTown(International("12423221234"), "Bahamas", "001242");
    ExpectTown(International("14165551234"), "Kanada", "001416");
    ExpectTown(International("12125551234"), "Vereinigte Staaten", "001");
    // +7 is Russia, but +7 7 Kazakhstan.
    ExpectTown(International("74951234567"), "Russische Föderation", "007");
    ExpectTown(International("77172123456"), "Kasachstan", "0077");
    ExpectTown(International("3906698123"), "Heiliger Stuhl (Staat Vatikanstadt)", "003906698");
    ExpectTown(International("4989123"), "Deutschland", "0049");
    // National codes never answer international numbers and the other way round.
    EXPECT_NE(International("711123").town, "Stuttgart");
    EXPECT_NE(National("4420712345").town, "Vereinigtes Königreich");
}

// Bytes that Windows-1252 leaves undefined, and control characters, have no place in a name.
bool IsWindows1252Text(unsigned char c) {
    if (c < 0x20 || c == 0x7F) return false;
    return c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D;
}

TEST_F(AreaCodeDataTest, EveryLineIsWellFormed) {
    std::size_t national = 0, international = 0;
    for (const std::string& line : Shipped().Lines()) {
        SCOPED_TRACE(line);
        ASSERT_GE(line.size(), 4u);
        ASSERT_TRUE(line[0] == 'N' || line[0] == 'I');
        (line[0] == 'N' ? national : international)++;
        const std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos);
        ASSERT_GT(tab, 1u);
        for (std::size_t i = 1; i < tab; ++i) ASSERT_TRUE(line[i] >= '0' && line[i] <= '9');
        const std::string name = line.substr(tab + 1);
        ASSERT_FALSE(name.empty());
        EXPECT_NE(name.front(), ' ');
        EXPECT_NE(name.back(), ' ');
        EXPECT_NE(name, UnknownCallerText);
        for (unsigned char c : name) ASSERT_TRUE(IsWindows1252Text(c)) << int(c);
    }
    // Some 5,200 German area codes and some 250 countries.
    EXPECT_GT(national, 5000u);
    EXPECT_GT(international, 240u);
}

TEST_F(AreaCodeDataTest, EveryLineIsTheFirstMatchForItsOwnCode) {
    // A code listed after a shorter code that begins it could never be found.
    for (const std::string& line : Shipped().Lines()) {
        const std::size_t tab = line.find('\t');
        const std::string code = line.substr(1, tab - 1);
        const TownMatch match =
            line[0] == 'N' ? National(code + "1234") : International(code + "1234");
        EXPECT_EQ(match.town, line.substr(tab + 1)) << line;
        EXPECT_EQ(match.areaCode, (line[0] == 'N' ? "0" : "00") + code) << line;
    }
}

TEST(AreaCodeDataFile, EndsEveryLineWithCrLf) {
    std::ifstream in(kShippedFile, std::ios::binary);
    ASSERT_TRUE(in) << kShippedFile;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << i;
        } else if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << i;
        }
    }
}

}  // namespace
}  // namespace telvor
