// Lines out of bytes in any pieces, and the bound that closes a client.
#include "ncid/LineReader.h"

#include <gtest/gtest.h>

namespace telvor {
namespace {

using Lines = std::vector<std::string>;

TEST(LineReader, PiecesDoNotMatterAndBothLineEndsWork) {
    const std::string bytes = "HELLO: IDENT: x\r\n\nREQ: YO\nA\rB\r\npartial";
    Lines whole, bytewise;
    LineReader a(1024), b(1024);
    EXPECT_TRUE(a.Feed(bytes, whole));
    for (char c : bytes) EXPECT_TRUE(b.Feed(std::string_view(&c, 1), bytewise));
    EXPECT_EQ(whole, (Lines{"HELLO: IDENT: x", "", "REQ: YO", "A\rB"}));
    EXPECT_EQ(bytewise, whole);
    EXPECT_TRUE(a.Feed("\n", whole));
    EXPECT_EQ(whole.back(), "partial");
}

TEST(LineReader, ALineOfTheBoundPassesOneMoreByteFails) {
    Lines lines;
    LineReader ok(1024);
    EXPECT_TRUE(ok.Feed(std::string(1024, 'a') + "\r", lines));  // the CR may yet end it
    EXPECT_TRUE(ok.Feed("\n", lines));
    EXPECT_EQ(lines.at(0).size(), 1024u);

    LineReader withEnd(1024);
    EXPECT_FALSE(withEnd.Feed(std::string(1025, 'a') + "\n", lines));
    // Without an end in sight the reader fails as soon as the bound is passed.
    LineReader open(1024);
    EXPECT_TRUE(open.Feed(std::string(1024, 'a'), lines));
    EXPECT_FALSE(open.Feed("ab", lines));
    EXPECT_FALSE(open.Feed("\nmore\n", lines));
    EXPECT_TRUE(open.Failed());
    EXPECT_EQ(lines.size(), 1u);
}

}  // namespace
}  // namespace telvor
