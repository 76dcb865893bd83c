// The network DDE share record and the key paths of the registry component.
#include "netdde/ShareRecord.h"

#include <gtest/gtest.h>

namespace telvor {
namespace {

TEST(RegAppPath, PartsDefaultsAndRoots) {
    RegAppLocation l;
    EXPECT_EQ(l.root, RegRoot::rhCurrentUser);
    EXPECT_EQ(RegAppKeyPath(l), "SOFTWARE\\My Company\\My Application\\v1.0a");
    l.relativePath = "Sub\\Key";
    EXPECT_EQ(RegAppKeyPath(l), "SOFTWARE\\My Company\\My Application\\v1.0a\\Sub\\Key");
    l.root = RegRoot::rhAllUsers;
    EXPECT_EQ(RegAppKeyPath(l), ".DEFAULT\\SOFTWARE\\My Company\\My Application\\v1.0a\\Sub\\Key");
    RegAppLocation empty{RegRoot::rhMachine, "", "", "", ""};
    EXPECT_EQ(RegAppKeyPath(empty), "SOFTWARE\\TESTCOMPANY\\TESTAPPLICATION\\1.0a");
}

TEST(ShareRecord, TheMonitorsShareBelowTheLocalMachine) {
    const RegAppLocation l = NetDdeShareLocation();
    EXPECT_EQ(l.root, RegRoot::rhMachine);
    EXPECT_EQ(RegAppKeyPath(l), "SOFTWARE\\Microsoft\\NetDDE\\DDE Shares\\TELVS$");

    const std::vector<ShareValue> values = NetDdeShareRecord();
    const std::vector<std::pair<std::string, std::string>> texts = {{"Application", "Telvor"},
                                                                    {"Item", ""},
                                                                    {"Password1", ""},
                                                                    {"Password2", ""},
                                                                    {"Topic", "TelvorServer"}};
    ASSERT_EQ(values.size(), 8u);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(values[i].name, texts[i].first);
        EXPECT_EQ(values[i].type, ShareValueType::Text);
        EXPECT_EQ(values[i].text, texts[i].second);
    }
    using Bytes = std::vector<unsigned char>;
    EXPECT_EQ(values[5].name, "Permissions2");
    EXPECT_EQ(values[5].bytes, (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(values[6].name, "Additional item count");
    EXPECT_EQ(values[6].bytes, (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(values[7].name, "Permissions1");
    EXPECT_EQ(values[7].bytes, (Bytes{0x1F, 0, 0, 0}));
    for (std::size_t i = 5; i < 8; ++i) EXPECT_EQ(values[i].type, ShareValueType::Binary);
}

}  // namespace
}  // namespace telvor
