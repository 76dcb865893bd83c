#include "ui/HelpTopics.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace telvor {
namespace {

TEST(HelpTopics, EachContextHasAPageOfItsOwnAndZeroTheOverview) {
    EXPECT_EQ(HelpPageName(1031), "1031.html");
    EXPECT_EQ(HelpPageName(1), "1.html");
    EXPECT_EQ(HelpPageName(4294967295u), "4294967295.html");
    EXPECT_EQ(HelpPageName(0), "index.html");
}

TEST(HelpTopics, TheControlsOwnContextWinsOverItsParents) {
    EXPECT_EQ(EffectiveHelpContext({1030, 1308}), 1030u);
    // A radio button of a group, a label: the nearest parent with a context answers.
    EXPECT_EQ(EffectiveHelpContext({0, 0, 1314, 7}), 1314u);
    EXPECT_EQ(EffectiveHelpContext({0, 0}), 0u);
    EXPECT_EQ(EffectiveHelpContext({}), 0u);
}

TEST(HelpTopics, AShippedPageIsOpenedElseTheOverview) {
    std::set<std::string> asked;
    const auto shipped = [&](const std::string& page) {
        asked.insert(page);
        return page == "Hilfe\\1031.html";
    };
    EXPECT_EQ(HelpPagePath(1031, shipped), "Hilfe\\1031.html");
    EXPECT_EQ(HelpPagePath(1032, shipped), "Hilfe\\index.html");
    EXPECT_EQ(asked, (std::set<std::string>{"Hilfe\\1031.html", "Hilfe\\1032.html"}));
    // No context: the overview, without asking for a page "0.html".
    asked.clear();
    EXPECT_EQ(HelpPagePath(0, shipped), "Hilfe\\index.html");
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(HelpPagePath(1031, nullptr), "Hilfe\\index.html");
}

}  // namespace
}  // namespace telvor
