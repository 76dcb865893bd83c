#include "numbers/Numbers.h"

#include <gtest/gtest.h>

#include <random>

#include "support/TempFolder.h"
#include "base/StringTable.h"

namespace telvor {
namespace {

class NumbersTest : public ::testing::Test {
  protected:
    void SetUp() override { LoadStartupTexts(); }
};

TEST_F(NumbersTest, KeypadDigitsConvertsLettersUmlautsAndDropsTheRest) {
    EXPECT_EQ(KeypadDigits("abc"), "222");
    EXPECT_EQ(KeypadDigits("Müller"), "615537");
    EXPECT_EQ(KeypadDigits("Straße 5"), "7872135");
    EXPECT_EQ(KeypadDigits("ÄÖÜäöü"), "111111");
    EXPECT_EQ(KeypadDigits("#31#"), "#31#");
    EXPECT_EQ(KeypadDigits("0711 / 12 34-56"), "0711123456");
    EXPECT_EQ(KeypadDigits("0800-TELEFON"), "08008353366");
    EXPECT_EQ(KeypadDigits("+49 (711) *9"), "49711*9");
    EXPECT_EQ(KeypadDigits("pqrs tuv wxyz"), "77778889999");
    EXPECT_EQ(KeypadDigits(""), "");
    // Other accented letters and control bytes are no keypad keys.
    EXPECT_EQ(KeypadDigits("éÀçñ\t\r\n"), "");
    EXPECT_EQ(KeypadDigits(std::string_view("1\0"
                                            "2",
                                            3)),
              "12");
}

TEST_F(NumbersTest, KeypadDigitsKeepsOnlyKeypadCharactersForEveryByte) {
    std::string all;
    for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
    const std::string result = KeypadDigits(all);
    // 10 digits, * and #, 26 letters twice, 7 umlauts/ß.
    EXPECT_EQ(result.size(), 10u + 2u + 52u + 7u);
    for (char c : result)
        EXPECT_NE(std::string_view("0123456789*#").find(c), std::string_view::npos);
}

TEST_F(NumbersTest, FindTownFirstMatchingLineWinsAndMarkersMustAgree) {
    AreaCodeList list;
    list.SetLines(
        {"I7\tRussland", "N30\tBerlin", "N302\tTeltow", "N711\tStuttgart", "I44\tGroßbritannien"});
    TownMatch stuttgart = list.FindTown('N', "711123456", "0");
    EXPECT_TRUE(stuttgart.found);
    EXPECT_EQ(stuttgart.town, "Stuttgart");
    EXPECT_EQ(stuttgart.areaCode, "0711");

    // Nested codes: the earlier, shorter line wins.
    EXPECT_EQ(list.FindTown('N', "302123", "0").town, "Berlin");

    TownMatch uk = list.FindTown('I', "4420712345", "00");
    EXPECT_EQ(uk.town, "Großbritannien");
    EXPECT_EQ(uk.areaCode, "0044");

    TownMatch none = list.FindTown('N', "89123", "0");
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.town, "unbekannt");
    EXPECT_EQ(none.areaCode, "");
}

TEST_F(NumbersTest, FindTownLineShapes) {
    AreaCodeList list;
    // Lower-case marker matches; lines without TAB or code never match; code kept as written.
    list.SetLines({"N711 Stuttgart", "\tNiemand", "", "n89\tMünchen", "N\tDeutschland"});
    TownMatch munich = list.FindTown('N', "89 12-34", "0");
    EXPECT_EQ(munich.town, "München");
    EXPECT_EQ(munich.areaCode, "089");
    // The bare marker line matches any national number, also empty digits.
    TownMatch bare = list.FindTown('N', "", "0");
    EXPECT_TRUE(bare.found);
    EXPECT_EQ(bare.town, "Deutschland");
    EXPECT_EQ(bare.areaCode, "0");
    EXPECT_EQ(list.FindTown('N', "711123", "0").town, "Deutschland");
    // Town after the first TAB, further TABs included.
    list.SetLines({"N40\tHamburg\tNord"});
    EXPECT_EQ(list.FindTown('N', "40", "0").town, "Hamburg\tNord");
}

TEST_F(NumbersTest, FindTownFirstMatchNamedUnknownMeansNotFound) {
    AreaCodeList list;
    list.SetLines({"N71\tunbekannt", "N711\tStuttgart"});
    TownMatch match = list.FindTown('N', "711123", "0");
    EXPECT_FALSE(match.found);
    EXPECT_EQ(match.town, "unbekannt");
    EXPECT_EQ(match.areaCode, "");
}

TEST_F(NumbersTest, NormaliseCallingNumberByTypeOfNumber) {
    AreaCodeList list;
    list.SetLines({"I7\tRussland", "N711\tStuttgart", "I44\tGroßbritannien"});
    NormalisedNumber national = NormaliseCallingNumber(0x21, "711123456", list, "0", "00");
    EXPECT_EQ(national.kind, NumberKind::National);
    EXPECT_EQ(national.number, "0711123456");
    EXPECT_EQ(national.town.town, "Stuttgart");
    EXPECT_EQ(national.town.areaCode, "0711");

    // The extension bit (bit 7) does not change the type.
    EXPECT_EQ(NormaliseCallingNumber(0xA1, "711", list, "0", "00").kind, NumberKind::National);

    NormalisedNumber intl = NormaliseCallingNumber(0x11, "4420712345", list, "0", "00");
    EXPECT_EQ(intl.kind, NumberKind::International);
    EXPECT_EQ(intl.number, "004420712345");
    EXPECT_EQ(intl.town.areaCode, "0044");

    for (unsigned char type : {0x01, 0x41, 0x31, 0x71}) {
        NormalisedNumber plain = NormaliseCallingNumber(type, "711123", list, "0", "00");
        EXPECT_EQ(plain.kind, NumberKind::Neither) << int(type);
        EXPECT_EQ(plain.number, "711123");
        EXPECT_FALSE(plain.town.found);
        EXPECT_EQ(plain.town.town, "unbekannt");
    }
    // The prefix is added even to empty digits; no area-code file still adds prefixes.
    EXPECT_EQ(NormaliseCallingNumber(0x21, "", AreaCodeList{}, "0", "00").number, "0");
    NormalisedNumber noList = NormaliseCallingNumber(0x11, "44", AreaCodeList{}, "+", "00");
    EXPECT_EQ(noList.number, "0044");
    EXPECT_EQ(noList.town.town, "unbekannt");
}

TEST_F(NumbersTest, LoadFromFileSplitsEveryKindOfLineEnd) {
    testing::TempFolder folder;
    const std::string path = folder.File("AreaCode.txt");
    testing::WriteText(path, "N30\tBerlin\r\nN40\tHamburg\nN89\tMünchen\rI44\tGroßbritannien");
    AreaCodeList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"N30\tBerlin", "N40\tHamburg", "N89\tMünchen",
                                                      "I44\tGroßbritannien"}));
    EXPECT_EQ(list.FindTown('N', "40123", "0").town, "Hamburg");

    // An unreadable file empties the list.
    EXPECT_FALSE(list.LoadFromFile(folder.File("missing.txt")));
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.FindTown('N', "40123", "0").town, "unbekannt");
}

TEST_F(NumbersTest, LoadFromFileSurvivesRandomAndTruncatedContent) {
    testing::TempFolder folder;
    const std::string path = folder.File("AreaCode.txt");
    std::mt19937 random(1234);
    const std::string alphabet = "NnIi0123456789\t\r\n äß";
    for (int round = 0; round < 200; ++round) {
        std::string text(random() % 400, '\0');
        for (char& c : text) {
            c = (round % 2 == 0) ? alphabet[random() % alphabet.size()]
                                 : static_cast<char>(random() & 0xFF);
        }
        testing::WriteText(path, text);
        AreaCodeList list;
        ASSERT_TRUE(list.LoadFromFile(path));
        for (const std::string& line : list.Lines()) {
            EXPECT_FALSE(line.empty());
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        }
        std::string digits(random() % 12, '0');
        for (char& c : digits) c = static_cast<char>('0' + random() % 10);
        for (char marker : {'N', 'I'}) {
            TownMatch match = list.FindTown(marker, digits, "0");
            if (!match.found) {
                EXPECT_EQ(match.town, "unbekannt");
            }
        }
    }
}

}  // namespace
}  // namespace telvor
