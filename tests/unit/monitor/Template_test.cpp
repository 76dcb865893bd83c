#include "monitor/Template.h"

#include <gtest/gtest.h>

namespace telvor {
namespace {

TemplateValues HansMuster() {
    TemplateValues v;
    v.name = "Hans Muster";
    v.number = "0711 123456";
    v.msnNumber = "4711";
    v.msn = "Büro";
    v.service = "Telefongespräch";
    v.time = "14:35";
    v.date = "8.12.2026";
    v.town = "Stuttgart";
    return v;
}

constexpr const char* kDefault = "Anruf von &NAME (&NUMBER) für &MSN um &TIME";

TEST(ExpandTemplate, DefaultMessage) {
    TemplateValues v = HansMuster();
    EXPECT_EQ(ExpandTemplate(kDefault, v), "Anruf von Hans Muster (0711 123456) für Büro um 14:35");
    v.msn.clear();
    EXPECT_EQ(ExpandTemplate(kDefault, v), "Anruf von Hans Muster (0711 123456) für  um 14:35");
}

TEST(ExpandTemplate, EveryPlaceholderInAnyCase) {
    const TemplateValues v = HansMuster();
    EXPECT_EQ(ExpandTemplate("&name|&Number|&msnnumber|&MsN|&service|&TiMe|&date|&town", v),
              "Hans Muster|0711 123456|4711|Büro|Telefongespräch|14:35|8.12.2026|Stuttgart");
    // MSNNUMBER is not read as MSN followed by NUMBER; NUMBERS leaves the S behind.
    EXPECT_EQ(ExpandTemplate("&MSNNUMBER&MSNx&NUMBERS", v), "4711Bürox0711 123456S");
}

TEST(ExpandTemplate, AmpersandRules) {
    TemplateValues v;
    v.name = "Anna";
    EXPECT_EQ(ExpandTemplate("50&& &Foo &name", v), "50& Foo Anna");
    EXPECT_EQ(ExpandTemplate("&&NAME", v), "&NAME");  // escaped: not a placeholder
    EXPECT_EQ(ExpandTemplate("&&&NAME", v), "&Anna");
    EXPECT_EQ(ExpandTemplate("Ende&", v), "Ende");  // trailing ampersand vanishes
    EXPECT_EQ(ExpandTemplate("&", v), "");
    EXPECT_EQ(ExpandTemplate("& NAME", v), " NAME");
    EXPECT_EQ(ExpandTemplate("&NAM", v), "NAM");
    EXPECT_EQ(ExpandTemplate("", v), "");
    EXPECT_EQ(ExpandTemplate("ohne Platzhalter", v), "ohne Platzhalter");
}

TEST(ExpandTemplate, InsertedValuesAreNeverScannedAgain) {
    TemplateValues v;
    v.name = "&NUMBER & &&";
    v.number = "0711";
    EXPECT_EQ(ExpandTemplate("&NAME/&NUMBER", v), "&NUMBER & &&/0711");
    v.name = "&";
    EXPECT_EQ(ExpandTemplate("&NAMENUMBER", v), "&NUMBER");
}

}  // namespace
}  // namespace telvor
