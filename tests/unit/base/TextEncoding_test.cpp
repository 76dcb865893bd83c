// UTF-8 and Windows-1252: what converts, what becomes '?', and how a file's encoding is told.
#include "base/TextEncoding.h"

#include <gtest/gtest.h>

namespace telvor {
namespace {

std::string Utf8(std::u8string_view text) {
    return std::string(text.begin(), text.end());
}

TEST(TextEncoding, GermanTextAndTheEuroBothWays) {
    const std::string utf8 = Utf8(u8"Grüße, Äpfel & Öl – 5 € „gut“");
    const std::string ansi = "Grüße, Äpfel & Öl – 5 € „gut“";  // this build's code page
    EXPECT_EQ(Utf8ToCp1252(utf8), ansi);
    EXPECT_EQ(Cp1252ToUtf8(ansi), utf8);
    // Every byte survives the way out and back, the five the code page leaves unassigned too.
    std::string all;
    for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
    EXPECT_TRUE(IsValidUtf8(Cp1252ToUtf8(all)));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(TextEncoding, WhatWindows1252CannotHoldBecomesAQuestionMark) {
    // (Outside the macros: their text of the expression is in the program's code page.)
    const std::string foreign = Utf8(u8"Łódź 東京 😀");
    const std::string emoji = Utf8(u8"ü😀");
    EXPECT_EQ(Utf8ToCp1252(foreign), "?ód? ?? ?");
    // Malformed: a lone continuation byte, a cut sequence, an overlong '/', a surrogate.
    EXPECT_EQ(Utf8ToCp1252(std::string("a\x80"
                                       "b\xC3") +
                           "\xC0\xAF" + "\xED\xA0\x80"),
              "a?b??????");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_TRUE(IsValidUtf8(emoji));
}

TEST(TextEncoding, AFilesEncodingByItsMarkOrItsBytes) {
    const std::string ansi = "Müller";
    EXPECT_EQ(DecodeTextFile(Utf8(u8"\uFEFFMüller")), ansi);
    EXPECT_EQ(DecodeTextFile(Utf8(u8"Müller")), ansi);
    EXPECT_EQ(DecodeTextFile(ansi), ansi);  // not UTF-8: Windows-1252 as it is
    const std::u16string wide = u"\uFEFFMüller \u20AC\U0001F600";
    std::string little, big;
    for (char16_t unit : wide) {
        little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        big += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    EXPECT_EQ(DecodeTextFile(little), "Müller €?");
    EXPECT_EQ(DecodeTextFile(big), "Müller €?");
}

}  // namespace
}  // namespace telvor
